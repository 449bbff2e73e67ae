#ifndef TESSARY_TESTS_MUSIC_COMMITTED_SCORE_H
#define TESSARY_TESTS_MUSIC_COMMITTED_SCORE_H

#include "score.h"

// assets/music/melody5.score, the score data/melody5.ogg was rendered from: loaded once for
// the music tests (a failed load is a test failure, and an empty score).
const music::Score& committed_score();

#endif
