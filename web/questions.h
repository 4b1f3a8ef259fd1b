// What the page's questions (review.cpp) answer beyond numbers, shared with the page's constants
// (game_constants.cpp), which give each its name.
#pragma once

namespace web {

// Why no code can be given a score, or that one can: the page says why it holds an answer back.
enum ScoreFault : int { k_score_possible, k_score_negative, k_score_too_many, k_score_three_one };

}  // namespace web
