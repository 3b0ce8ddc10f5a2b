#pragma once

// Where a lottery stands, which decides what the user may do next.
enum class LotteryPhase {
    // Names, prizes and counts may change; nothing is fixed yet.
    Entry,
    // Standby has fixed the results; paths wait to be traced.
    Ready,
    // Every participant's path is traced and the result can be shown and printed.
    Finished,
    // A path that takes time to run will add a phase of its own here, between Ready and
    // Finished, while its path is being drawn.
};
