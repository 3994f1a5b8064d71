#pragma once

#include "platform/conversion/conversionengine.h"

#include <QString>
#include <vector>

struct Sexp;

// What the Mozc line helper is sent and what its answers hold. Answers come
// from another program: whatever is missing or malformed reads as nothing.
namespace MozcReply {

// Text as the helper reads a string: quoted, with quotes and backslashes escaped.
QString quoted(const QString &s);

// An atom's text; empty for a list or nothing.
QString text(const Sexp *s);

// The server's suggestions or candidates in one answer, with the reading each stands for.
std::vector<Candidate> candidates(const Sexp &output, const QString &typed);

struct Preedit
{
    std::vector<Segment> segments;
    int focused = -1; // the segment whose forms the answer lists
};
Preedit preedit(const Sexp &output);

} // namespace MozcReply
