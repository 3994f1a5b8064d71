#pragma once

#include "platform/conversion/conversionengine.h"

#include <QString>
#include <vector>

// How likely the strip holds the word wanted, which decides where a scan
// offers it (ScanLayouts::withStrip): a strip that cannot help should cost
// no step on every character.
namespace StripPriority {

// The share of strips that held the word wanted, by what they show, as
// bench_writing measured it on sample sentences: about half while the run is
// short or after a take; hardly any for a long run, unless a candidate goes
// beyond it (a prediction, a whole sentence).
double likelihood(const QString &run, const std::vector<Candidate> &candidates);

} // namespace StripPriority
