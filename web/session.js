// One game on the page: the run of the program from its seed, the lines it has read, and the game
// state drawn from what it reports. Resuming a saved game and taking back a line are the same
// thing: a fresh run from the same seed that reads the same lines again (less the last one), which
// gives the same game, since a run depends on nothing else.
//
// It also holds back the lines a player shouldn't send, each with its reason: a guess or the
// player's code that isn't four different digits (the program would read 123 as 0123, and takes
// a second code at its question unchecked); at a score, a line not in the form the game's
// reminder teaches (X, 2H, 3B, 1H2B: the program would read X1B as X and 1H1H as 1H1B) and an
// answer no code can give; at the Y/N question anything but Y or N (the program reads all else as
// N, which ends the game). Held back once: an answer that differs from the score the player's own
// code gives, and N at that question, which ends the game as the computer's win.
import {code, GameState, scoreText} from './game_state.js';

// The code typed as `text`: four digits that the game reads as a code (questions.js's
// codeOfLine), as four digits; null for anything else, 123 included.
export function codeTyped(questions, text) {
  if (!questions || !/^\d{4}$/.test(text)) return null;
  const read = questions.codeOfLine(text);
  return read === null ? null : code(read);
}

// A score in the form the game's reminder teaches: X, hits (2H), blows (3B), or both (1H2B), a
// digit each.
const SCORE_FORM = /^(?:[Xx]|\d[Hh]|\d[Bb]|\d[Hh]\d[Bb])$/;

// Why the line `text` isn't sent while the program waits for `waiting`, or null to send it:
// {kind: 'notCode'} for a guess (not a request for the history, ? or h) or a code that isn't four
// different digits; {kind: 'yesOrNo'}; {kind: 'form', readAs} for a score not in the reminder's
// form, with the score the program would read (null: none, it would only remind of the syntax);
// {kind} of the score's fault when no code can give it (questions.js's scoreFault), or
// {kind: 'differs', expected} when the answer isn't `expected` (a score as the game writes it;
// null when unknown). `questions` are the game's own (questions.js); without them (not there yet,
// or the program didn't load) only Y and N are checked.
export function refusal(questions, waiting, text, expected) {
  if (waiting === 'confirm') return /^[YyNn]/.test(text) ? null : {kind: 'yesOrNo'};
  if (!questions) return null;
  if (waiting === 'guess' && /^[?h]/.test(text)) return null;
  if (waiting === 'guess' || waiting === 'code') {
    return codeTyped(questions, text) === null ? {kind: 'notCode'} : null;
  }
  if (waiting !== 'answer') return null;
  const answer = questions.scanAnswer(text);
  const fault = answer && questions.scoreFault(answer.typed);
  if (fault) return {kind: fault};
  if (!answer || !SCORE_FORM.test(text)) {
    return {kind: 'form', readAs: answer && scoreText(answer.score)};
  }
  const differs = expected !== null &&
                  scoreText(answer.score) !== scoreText(questions.scanAnswer(expected).score);
  return differs ? {kind: 'differs', expected} : null;
}

export class Session {
  // program(seed, lines, on): starts a run that reads `lines` first (runner.js's startRun);
  // newSeed(): a seed for a new game; store: save({seed, lines}), drop(), count(result, turns)
  // and uncount(result, turns), which return the record; show: what the page draws, told
  //   begun(fresh)          a run starts on a clear screen: a new game (fresh), or one replayed
  //                         (resumed, or a line taken back);
  //   output(text), error(text), typed(text)   the program's text and the lines it reads;
  //   turn(row)             a turn played now (not replayed) is complete;
  //   changed()             the state changed;
  //   ended(record)         the game reached its closing pause (record: null if it never began);
  //   exited(status, reason)  the run is over.
  // questions: the game's own (questions.js), once they are there.
  constructor({program, newSeed, store, show, questions = null}) {
    Object.assign(this, {program, newSeed, store, show, questions});
    this.myCode = null;  // the player's code, when they let the page check their answers
    this.state = new GameState();
    this.run = null;
    this.failed = false;
  }

  // A new run: the saved game `saved` ({seed, lines}) replayed, or a new game that reads
  // `firstLines` first (lines typed ahead of the last game's end).
  begin(saved = null, firstLines = []) {
    this.counted = null;
    this.start(saved ? saved.seed : this.newSeed(), saved ? saved.lines.slice() : [], firstLines,
               !saved);
  }

  // A run from `seed` that reads `lines` again, then `firstLines`; `fresh` for a new game.
  start(seed, lines, firstLines, fresh) {
    if (this.run) this.run.stop();
    Object.assign(this, {state: new GameState(), seed, lines, failed: false, restarting: null,
                         carried: [], held: null});
    let replaying = lines.length;  // lines of `lines` not yet read again
    let resumed = replaying > 0;   // a replay, before the player's first new line
    this.show.begun(fresh);
    const state = this.state;
    const run = this.program(seed, lines, {
      output: (text) => this.show.output(text),
      error: (text) => this.show.error(text),
      event: (number, values) => {
        const row = state.event(number, values);
        if (row && !resumed) this.show.turn(row);
        this.show.changed();
      },
      waiting: () => {
        state.wait();
        if (state.waiting === 'end' && resumed) return this.refuseReplay();
        this.show.changed();
        if (state.waiting === 'end') this.end(run);
      },
      read: (text) => {
        this.show.typed(text);
        const wasEnd = state.waiting === 'end';
        state.running();
        this.show.changed();
        if (replaying > 0) {
          replaying -= 1;
          return;
        }
        resumed = false;
        if (wasEnd) return;
        this.lines.push(text);
        this.store.save({seed, lines: this.lines});
      },
      exit: (status, reason) => {
        this.show.exited(status, reason);
        if (run !== this.run) return;
        if (resumed) return this.refuseReplay();
        if (this.restarting !== null) return this.begin(null, this.restarting);
        if (state.waiting === 'end') return;
        this.failed = true;  // the run stopped, or ended without its closing pause
        state.waiting = 'end';
        this.show.changed();
        this.show.ended(null);
      },
    });
    this.run = run;
    for (const text of firstLines) run.send(text);
    this.show.changed();
  }

  // A replay the program refuses (it ends early) is dropped, and a new game starts.
  refuseReplay() {
    this.store.drop();
    this.begin(null);
  }

  // The closing pause: the record counted once; what was typed ahead waits for the next game.
  end(run) {
    this.carried = run.takeTyped();
    this.store.drop();
    this.failed = this.state.result === null;
    this.counted = this.failed ? null : {result: this.state.result, turns: this.state.rows.length};
    this.show.ended(this.counted && this.store.count(this.counted.result, this.counted.turns));
  }

  // The score the player's code gives the computer's guess awaiting an answer, as the game writes
  // it; at the question for their code, the code. Null when the page doesn't know it.
  expected() {
    const row = this.state.rows[this.state.rows.length - 1];
    if (this.myCode === null) return null;
    if (this.state.waiting === 'code') return this.myCode;
    const asked = this.state.waiting === 'answer' && row && row.computerGuess;
    if (!asked || !this.questions) return null;
    return scoreText(this.questions.scoreGuess(Number(row.computerGuess), Number(this.myCode)));
  }

  // The first answer the player's code shows wrong, {turn, guess, said, should} (turn from 1,
  // scores as the game writes them), or null when the page doesn't know their code or finds none.
  wrongAnswer() {
    if (this.myCode === null || !this.questions) return null;
    const rows = this.state.rows.filter((row) => row.answer !== undefined);
    for (let i = 0; i < rows.length; ++i) {
      const said = scoreText(rows[i].answer);
      const should =
          scoreText(this.questions.scoreGuess(Number(rows[i].computerGuess), Number(this.myCode)));
      if (said !== should) return {turn: i + 1, guess: rows[i].computerGuess, said, should};
    }
    return null;
  }

  // A line the player typed: sent to the program, or at its end the next game's first line.
  // Returns null, or why it is held back (see refusal()). Held back once, then sent when typed
  // again: an answer that differs from the expected score, and N at the question whether the
  // answers are right ({kind: 'denied', wrong}, wrong as wrongAnswer() gives it), which ends the
  // game as the computer's win.
  send(text) {
    if (this.state.waiting === 'end') {
      this.playAgain(text);
      return null;
    }
    if (!this.run) return null;
    const expected = this.state.waiting === 'answer' ? this.expected() : null;
    let refused = refusal(this.questions, this.state.waiting, text, expected);
    if (!refused && this.state.waiting === 'confirm' && /^[Nn]/.test(text)) {
      refused = {kind: 'denied', wrong: this.wrongAnswer()};
    }
    const once = refused && (refused.kind === 'differs' || refused.kind === 'denied');
    const key = refused && refused.kind === 'denied' ? 'denied' : text;
    const insisted = once && this.held === key;
    this.held = once ? key : null;
    if (refused && !insisted) return refused;
    this.held = null;
    this.run.send(text);
    return null;
  }

  // Play again: the page answers the program's wait for Return itself, and the next game starts
  // once the program has ended; what was typed at the end (`firstLine`, not empty) is the new
  // game's first line.
  playAgain(firstLine = '') {
    const first = this.carried.concat(firstLine ? [firstLine] : []);
    this.carried = [];
    if (this.run && !this.run.over && this.state.waiting === 'end') {
      this.restarting = first;
      this.run.send('');
      return;
    }
    this.begin(null, first);
  }

  // Whether there is a line to take back: in a game under way or at its end, not once a new game
  // is on its way, nor once the computer's code has been shown: the game is then final, and the
  // record keeps its result.
  canUndo() {
    return this.lines.length > 0 && !this.failed && this.restarting === null &&
           this.state.secret === null;
  }

  // Takes back the last line the program read: the game replayed without it. A game taken back
  // from its end no longer counts in the record; it counts when it ends again.
  undo() {
    if (!this.canUndo()) return false;
    if (this.counted) this.store.uncount(this.counted.result, this.counted.turns);
    this.counted = null;
    const lines = this.lines.slice(0, -1);
    this.store.save({seed: this.seed, lines});
    this.start(this.seed, lines, [], false);
    return true;
  }

  inProgress() {
    return this.state.inProgress();
  }
}
