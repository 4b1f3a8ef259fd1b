// The game as the board shows it, built from what the program reports: the message slots it
// prints with their numbers, and the numbers of its fixed-format lines (a scored guess is
// "1234 1H2B " in every language). Never from the messages' words, which change with the
// language.

// The slots the board follows (console/slots.h).
export const SLOT = {
  remaining: 1,
  firstPrompt: 21, nextPrompt: 22, notACode: 23, computerGuess: 24,
  answerHelp: 25, answerHelpX: 26, draw: 27, userWins: 28, computerWins: 29,
  answerEchoEnd: 30, scoredGuessEnd: 31,
  really: 34, giveUp: 35, tellMe: 36, youLose: 40, iWin: 41,
};

// What the program waits for after the last slot it printed; any other slot, or none at all
// (a file that can't be read, the usage text), leads only to its closing pause.
const WAITING_AFTER = {
  [SLOT.firstPrompt]: 'guess', [SLOT.nextPrompt]: 'guess', [SLOT.notACode]: 'guess',
  [SLOT.computerGuess]: 'answer', [SLOT.answerHelp]: 'answer', [SLOT.answerHelpX]: 'answer',
  [SLOT.really]: 'confirm', [SLOT.giveUp]: 'code', [SLOT.tellMe]: 'code',
};

// How the game ends, by the slot that says so; the contradiction dialog always ends in the
// computer's favour.
const RESULT_OF = {
  [SLOT.draw]: 'draw', [SLOT.userWins]: 'win', [SLOT.computerWins]: 'loss',
  [SLOT.youLose]: 'loss', [SLOT.iWin]: 'loss',
};

// The closing summary's rule (turn loop) and a row of it: two scored guesses.
const SEPARATOR = '---------------------------\n';
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
    const at = this.text.lastIndexOf(SEPARATOR);
    if (at < 0) return;
    const summary = this.text.slice(at + SEPARATOR.length).split('\n').map((l) => SUMMARY_ROW.exec(l));
    summary.filter((m) => m).forEach((m, i) => {
      this.rows[i] = {guess: m[1], score: m[2], computerGuess: m[3], answer: m[4]};
    });
  }

  running() {
    this.waiting = null;
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
