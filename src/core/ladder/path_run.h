#pragma once

#include "path.h"

#include <QPointF>

#include <cstdint>
#include <vector>

// A path that runs: the route as the pen draws it, cut at how far the pen has come. The pen runs
// at a steady speed chosen so that any route, whatever its turns, takes the same time, and what
// is drawn at any moment is the final path cut at that point.
namespace ladder {

// How long a path takes from the name to the prize: ゆっくり, ふつう, はやい.
enum class RunSpeed { Slow, Normal, Fast };
int runDuration(RunSpeed speed);

// The corners the pen passes through, in twips, from the left end of the route's first line; a
// straight step ends in a point of its own, as drawPath draws it.
std::vector<QPointF> routePoints(const PathRoute &route, int lineTop);
// The length of those points' lines, in twips.
double routeLength(const std::vector<QPointF> &points);

// How far the pen has come after `elapsed` of `duration` milliseconds on a route of `total`
// twips: none before it starts, all of it from the duration on.
double runLength(double total, int32_t elapsed, int duration);

// The points up to `length` twips along: the corners passed, then the point the pen stands at.
std::vector<QPointF> cutRoute(const std::vector<QPointF> &points, double length);

// The rungs the pen has gone the whole way along within `length` twips.
int rungsCrossed(const std::vector<QPointF> &points, double length);

} // namespace ladder
