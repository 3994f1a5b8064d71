#pragma once

// Runs Pirokan: one instance, the main window, until the user ends it.
int RunPirokan(int argc, char **argv);
