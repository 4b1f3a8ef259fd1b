// The game as the board shows it, built from what the program reports: the message slots it
// prints with their numbers, and the numbers of its fixed-format lines (a scored guess is
// "1234 1H2B " in every language). Never from the messages' words, which change with the
// language.

// The slot numbers and the summary's rule are the program's own (game_constants.js, written by
// the build).
import {SLOT, SUMMARY_RULE} from './game_constants.js';

// What the program waits for after the last slot it printed; any other slot, or none at all
// (a file that can't be read, the usage text), leads only to its closing pause.
const WAITING_AFTER = {
  [SLOT.firstPrompt]: 'guess', [SLOT.nextPrompt]: 'guess', [SLOT.notACode]: 'guess',
  [SLOT.computerGuess]: 'answer', [SLOT.answerHelp]: 'answer', [SLOT.answerHelpX]: 'answer',
  [SLOT.really]: 'confirm', [SLOT.giveUp]: 'code', [SLOT.tellMe]: 'code',
};

// How the game ends, by the slot that says so; the contradiction dialog (from slot `strange` on)
// always ends in the computer's favour.
const RESULT_OF = {
  [SLOT.draw]: 'draw', [SLOT.userWins]: 'win', [SLOT.computerWins]: 'loss',
  [SLOT.youLose]: 'loss', [SLOT.iWin]: 'loss',
};

// A row of the closing summary: two scored guesses.
const SUMMARY_ROW = /^(\d{4}) (\S+) (\d{4}) (\S+) $/;
// A scored guess as the last thing printed: the code, its score ("X" or hits and blows), a blank.
const SCORED_AT_END = /(\d{4}) (\S+) $/;

// "1H2B" as 5 * hits + blows (the game's ScoreCode); null for anything else.
export function scoreValue(text) {
  if (text === 'X') return 0;
  const parts = /^(?:(\d+)H)?(?:(\d+)B)?$/.exec(text);
  if (!parts || text === '') return null;
  return 5 * Number(parts[1] || 0) + Number(parts[2] || 0);
}

export function scoreText(value) {
  const hits = Math.floor(value / 5);
  const blows = value % 5;
  if (value === 0) return 'X';
  return (hits ? hits + 'H' : '') + (blows ? blows + 'B' : '');
}

// An answer line as the program reads it (its turn loop's scan_answer): X, or hits then blows
// ("1H2B", "1 2", "2H", "3B"), each number wrapping to 32 bits as its scan does. Returns
// {hits, blows, value} with value = 5 * hits + blows as the program computes it, or null for a
// line it can't read, which it answers with its reminder of the syntax.
export function readAnswer(line) {
  if (/^[xX]/.test(line)) return {hits: 0, blows: 0, value: 0};
  const number = /^[\t\n\v\f\r ]*([+-]?)(\d+)/;
  const int32 = (match) => {
    let magnitude = 0;
    for (const digit of match[2]) magnitude = (magnitude * 10 + Number(digit)) % 2 ** 32;
    return (match[1] === '-' ? -magnitude : magnitude) | 0;
  };
  const first = number.exec(line);
  if (!first) return null;
  const rest = line.slice(first[0].length).replace(/^[hH]*/, '');
  const second = number.exec(rest);
  const hits = int32(first);
  let counts = null;
  if (second) {
    counts = [hits, int32(second)];
  } else if (/^.[hH]/s.test(line)) {
    counts = [hits, 0];
  } else if (/^.[bB]/s.test(line)) {
    counts = [0, hits];
  }
  return counts && {hits: counts[0], blows: counts[1], value: (Math.imul(5, counts[0]) + counts[1]) | 0};
}

// Why no code can score a guess with these hits and blows, or null when one can: too many
// together, three hits with a blow (the fourth digit has nowhere else to be), a negative count.
export function impossibleScore(hits, blows) {
  if (hits < 0 || blows < 0) return 'negative';
  if (hits + blows > 4) return 'tooMany';
  return hits === 3 && blows === 1 ? 'threeOne' : null;
}

// Whether `text` is a code: four different digits.
export function isCode(text) {
  return /^\d{4}$/.test(text) && new Set(text).size === 4;
}

// The score of the code `guess` against the code `secret` (four digits each): 5 * hits + blows.
export function scoreOf(guess, secret) {
  let value = 0;
  for (let i = 0; i < 4; ++i) {
    if (guess[i] === secret[i]) {
      value += 5;
    } else if (secret.includes(guess[i])) {
      value += 1;
    }
  }
  return value;
}

function code(value) {
  return String(value).padStart(4, '0');
}

export class GameState {
  constructor() {
    // One row a turn: {guess, score, computerGuess, answer}, codes as four digits and scores as
    // the game prints them; a turn in progress lacks its later fields.
    this.rows = [];
    this.waiting = null;  // guess | answer | confirm | code | end, while the program waits
    this.result = null;   // win | loss | draw once the game is decided
    this.secret = null;   // the computer's code, when the game has shown it
    this.printedLeft = [];  // the counts the computer said aloud, by turn (index), where it did
    // Once the computer finds the answers contradict each other: {wrong}, where wrong is the
    // first answer your code shows wrong, {turn, guess, said, should}, once the dialog names it.
    this.contradiction = null;
    this.walked = 0;  // the rows the dialog has checked against your code and found right
    this.lastSlot = null;
    this.text = '';  // the output since the last slot reported
  }

  output(text) {
    this.text += text;
  }

  // The game is about to print `slot` with `values`. Returns the row a turn completed (the
  // computer's guess announced), else null.
  slot(slot, values) {
    const before = this.text;
    this.text = '';
    this.lastSlot = slot;
    const row = this.rows[this.rows.length - 1];
    const scored = SCORED_AT_END.exec(before);
    if (slot === SLOT.scoredGuessEnd && scored) {
      this.rows.push({guess: scored[1], score: scored[2]});
    } else if (slot === SLOT.computerGuess && row) {
      row.computerGuess = code(values[0]);
      return row;
    } else if (slot === SLOT.answerEchoEnd && row && scored) {
      row.answer = scored[2];
    } else if (slot === SLOT.remaining) {
      this.printedLeft[this.rows.length - 1] = values[0];
    } else if (slot === SLOT.strange) {
      this.contradiction = {wrong: null};
    } else if (slot === SLOT.rowEnd) {
      this.walked += 1;
    } else if (slot === SLOT.wrongHere && scored && this.contradiction) {
      this.contradiction.wrong = {turn: this.walked + 1, guess: scored[1], said: scored[2]};
    } else if (slot === SLOT.shouldBe && scored && this.contradiction && this.contradiction.wrong) {
      this.contradiction.wrong.should = scored[2];
    }
    if (RESULT_OF[slot] && this.result === null) this.decide(slot, values);
    return null;
  }

  decide(slot, values) {
    this.result = RESULT_OF[slot];
    const row = this.rows[this.rows.length - 1];
    if (slot === SLOT.computerWins) this.secret = code(values[0]);
    if ((slot === SLOT.draw || slot === SLOT.userWins) && row) this.secret = row.guess;
    if ((slot === SLOT.draw || slot === SLOT.computerWins) && row) row.answer = scoreText(20);
  }

  // The program waits for a line. At its closing pause the summary it printed last is the whole
  // board: every row is taken from it (the last answer of a game you won shows only there).
  wait() {
    this.waiting = this.result !== null || !WAITING_AFTER[this.lastSlot] ? 'end'
                                                                         : WAITING_AFTER[this.lastSlot];
    if (this.waiting !== 'end' || this.result === null) return;
    const at = this.text.lastIndexOf(SUMMARY_RULE);
    if (at < 0) return;
    const summary = this.text.slice(at + SUMMARY_RULE.length).split('\n').map((l) => SUMMARY_ROW.exec(l));
    summary.filter((m) => m).forEach((m, i) => {
      this.rows[i] = {guess: m[1], score: m[2], computerGuess: m[3], answer: m[4]};
    });
  }

  running() {
    this.waiting = null;
  }

  // Whether the player has just found the computer's code: its last guess, for a draw, awaits
  // their answer.
  found() {
    const row = this.rows[this.rows.length - 1];
    return this.waiting === 'answer' && row !== undefined && row.score === scoreText(20);
  }

  // Whether a game is under way that leaving would abandon.
  inProgress() {
    return this.result === null && this.rows.length > 0;
  }

  // Each side's rows as the filter takes them: the computer's guesses with your answers, your
  // guesses with their scores. Only whole turns.
  sides() {
    const whole = this.rows.filter((r) => r.answer !== undefined);
    return {
      computer: whole.map((r) => ({guess: Number(r.computerGuess), score: scoreValue(r.answer)})),
      player: whole.map((r) => ({guess: Number(r.guess), score: scoreValue(r.score)})),
    };
  }
}
