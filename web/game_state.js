// The game as the board shows it, built from the events the program reports with their numbers
// (console/platform.h), never from its words, which change with the language.

// The events' schema and the names of their numbers are the program's own (game_constants.js,
// written by the build).
import {DIGITS, EVENTS, OUTCOMES, WAITS} from './game_constants.js';

// A score {hits, blows} as a player types it and the game shows it: X, 1H2B, 2H, 3B.
export function scoreText({hits, blows}) {
  if (hits === 0 && blows === 0) return 'X';
  return (hits ? hits + 'H' : '') + (blows ? blows + 'B' : '');
}

// Whether a score {hits, blows} is four hits: the code found.
export function allHits(score) {
  return score.hits === DIGITS;
}

// A code as the game shows it, four digits.
export function code(value) {
  return String(value).padStart(DIGITS, '0');
}

// What each event does to the state, by its name in the schema; `e` holds its numbers by name.
// computerGuess returns the row whose turn it completes.
const ON = {
  scored: (state, e) => {
    state.rows.push({guess: code(e.guess), score: {hits: e.hits, blows: e.blows}});
  },
  computerGuess: (state, e) => {
    const row = state.rows[state.rows.length - 1];
    row.computerGuess = code(e.guess);
    return row;
  },
  answer: (state, e) => {
    state.rows[state.rows.length - 1].answer = {hits: e.hits, blows: e.blows};
  },
  contradiction: (state) => {
    state.contradiction = {wrong: null};
  },
  wrongAnswer: (state, e) => {
    state.contradiction.wrong = {
      turn: e.turn, guess: code(e.guess), said: scoreText({hits: e.saidHits, blows: e.saidBlows}),
      should: scoreText({hits: e.shouldHits, blows: e.shouldBlows}),
    };
  },
  result: (state, e) => {
    state.result = OUTCOMES[e.outcome];
    if (e.secret >= 0) state.secret = code(e.secret);
  },
  waiting: (state, e) => {
    state.next = WAITS[e.what];
  },
};

export class GameState {
  constructor() {
    // One row a turn: {guess, score, computerGuess, answer}, codes as four digits and scores as
    // {hits, blows}; a turn in progress lacks its later fields.
    this.rows = [];
    this.waiting = null;  // guess | answer | confirm | code | end, while the program waits
    this.next = null;     // what the program said it will wait for next
    this.result = null;   // win | loss | draw once the game is decided
    this.secret = null;   // the computer's code, when the game has shown it
    // Once the computer finds the answers contradict each other: {wrong}, where wrong is the
    // first answer your code shows wrong, {turn, guess, said, should}, once the dialog names it.
    this.contradiction = null;
  }

  // The program reports event number `number` with its `values`. Returns the row a turn
  // completed (the computer's guess announced), else null.
  event(number, values) {
    const [name, fields] = EVENTS[number];
    const e = Object.fromEntries(fields.map((field, i) => [field, values[i]]));
    return (ON[name] && ON[name](this, e)) || null;
  }

  // The program waits for a line: what it said it would wait for; its end if it said nothing.
  wait() {
    this.waiting = this.next || 'end';
  }

  running() {
    this.waiting = null;
  }

  // Whether the player has just found the computer's code: its last guess, for a draw, awaits
  // their answer.
  found() {
    const row = this.rows[this.rows.length - 1];
    return this.waiting === 'answer' && row !== undefined && allHits(row.score);
  }

  // Whether a game is under way that leaving would abandon.
  inProgress() {
    return this.result === null && this.rows.length > 0;
  }

  // Each side's rows as the filter takes them, {guess, hits, blows}: the computer's guesses with
  // your answers, your guesses with their scores. Only whole turns.
  sides() {
    const whole = this.rows.filter((r) => r.answer !== undefined);
    return {
      computer: whole.map((r) => ({guess: Number(r.computerGuess), ...r.answer})),
      player: whole.map((r) => ({guess: Number(r.guess), ...r.score})),
    };
  }
}
