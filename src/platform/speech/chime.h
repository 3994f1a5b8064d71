#pragma once

#include "platform/speech/clip.h"

// A two-tone bell, high then low ("ding-dong"), with a bell's overtones and a
// ringing decay: nothing like a voice or a key click. At volume 1 its loudest
// sample is close to full scale; it is over well within two seconds and
// sounds from its first few milliseconds.
Clip ChimeClip(double volume = 1.0);
