#pragma once

// Where a lottery stands, which decides what the user may do next.
enum class LotteryPhase {
    // Names, prizes and counts may change; nothing is fixed yet.
    Entry,
    // Standby has fixed the results; paths wait to be traced.
    Ready,
    // A path is being drawn down the ladder: its result is written when it arrives, and until
    // then nothing else of the lottery may change.
    Running,
    // Every participant's path is traced and the result can be shown and printed.
    Finished,
};
