#ifndef TESSARY_TUNABLES_H
#define TESSARY_TUNABLES_H

// The show's numbers that more than one file needs, each with its one home here.
//
// How to use: include this header and use the name; never write the number out again, tests
// included. A number only one file needs stays in that file, next to its reason.

// The track's tempo in beats a minute: the script counts in these beats.
constexpr int show_bpm = 140;

// Steps of demo time a second. The show's state advances in steps of exactly 1 / show_fps s:
// the player's frame cap, the offline renderer's frame rate and the bench's frame budget.
constexpr int show_fps = 120;

// Undrawn steps a late frame may run before drawing: 2 s of show. A stall longer than that is
// caught up over the next frames instead of in one ever longer frame.
constexpr int max_catch_up_steps = 2 * show_fps;

// Seconds per beat, in single precision as the show keeps it (equal to beat2seconds(140, 4)).
constexpr float show_seconds_per_beat = static_cast<float>(60.0 / show_bpm);

// Rows of a sync track a beat: the editors' usual eighth of a beat, so row 8b is beat b.
constexpr int sync_rows_per_beat = 8;

// Seconds between attempts to reach a sync editor that is not answering: an editor started
// after the player is found soon, without a connection attempt every frame.
constexpr float sync_retry_seconds = 3.0f;
// Seconds a server that accepted the connection has to greet before it is given up on (and
// tried again as one that refused): an editor answers at once; something else may never.
constexpr float sync_greeting_seconds = 5.0f;

// The plasma part's beat, counted from its start, on which the pillar walk begins (and the part
// flashes).
constexpr int plasma_pillar_beat = 10;

#endif
