// The page's questions to the game's own code (web/review.cpp), so that the page keeps no copy of
// its rules: how the turn loop reads a line as an answer or as a code, the score of a guess,
// whether a score can be given at all, how many codes a side's rows leave, and the secret of a
// seed. They are asked of an instance of the program that never runs main(); each answer comes at
// once. A score is {hits, blows}, as the game shows it.
import {LINE_BYTES, MAX_TURNS, SCORE_FAULTS} from './game_constants.js';

// The questions of `game`, an instance of the program made with noInitialRun.
export function questionsOf(game) {
  // The line asked about, as the program would read it from the page (UTF-8, cut to a line's
  // bytes).
  const ask = (line) => {
    const bytes = new TextEncoder().encode(line).subarray(0, LINE_BYTES - 1);
    const at = game._hitblow_line();
    game.HEAPU8.set(bytes, at);
    game.HEAPU8[at + bytes.length] = 0;
  };
  const reply = (at) => {
    const heap = game.HEAP32.subarray(game._hitblow_reply() >> 2);
    return {hits: heap[at], blows: heap[at + 1]};
  };
  return {
    // {typed, score} for a line the program takes as an answer: the numbers typed and the score
    // it keeps ("0H20B" is typed as 0 and 20 and kept as 4H); null for a line it can't read.
    scanAnswer(line) {
      ask(line);
      return game._hitblow_scan_answer() ? {typed: reply(0), score: reply(2)} : null;
    },
    // The code the program reads from the line as a guess, or null for one it refuses.
    codeOfLine(line) {
      ask(line);
      const code = game._hitblow_code_of_line();
      return code < 0 ? null : code;
    },
    scoreGuess(guess, code) {
      game._hitblow_score(guess, code);
      return reply(0);
    },
    // Why no code can be given the score {hits, blows} (negative, tooMany, threeOne), or null.
    scoreFault({hits, blows}) {
      return SCORE_FAULTS[game._hitblow_score_fault(hits, blows)];
    },
    // How many of the 5040 codes agree with the rows [{guess, hits, blows}] after each row, by
    // the computer's own filter: one count per row.
    codesLeft(rows) {
      const board = game._hitblow_board() >> 2;
      const used = rows.slice(0, MAX_TURNS);  // the rows the buffer holds: a game's turns at most
      used.forEach((row, i) => {
        game.HEAP32[board + i] = row.guess;
        game.HEAP32[board + MAX_TURNS + i] = row.hits;
        game.HEAP32[board + 2 * MAX_TURNS + i] = row.blows;
      });
      game._hitblow_codes_left(used.length);
      const left = board + 3 * MAX_TURNS;
      return Array.from(game.HEAP32.subarray(left, left + used.length));
    },
    // The computer's secret in the run with `seed`, drawn by the game's own start-up.
    secretOf(seed) {
      game.seed = seed;
      return game._hitblow_secret();
    },
  };
}
