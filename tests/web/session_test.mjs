// The page's session (web/session.js) and its game state (web/game_state.js) under Node.js, with
// a stand-in program that reports the game's events, and the game's own questions
// (web/questions.js) asked of review.cpp built for Node.js (HITBLOW_QUESTIONS). The modules of
// the built site (HITBLOW_SITE) are copied beside a package file that makes them modules to
// Node.js.
import assert from 'node:assert/strict';
import fs from 'node:fs';
import {createRequire} from 'node:module';
import os from 'node:os';
import path from 'node:path';
import {test} from 'node:test';
import {pathToFileURL} from 'node:url';

const site = process.env.HITBLOW_SITE || 'build/web/site';
const copy = fs.mkdtempSync(path.join(os.tmpdir(), 'hitblow_session_'));
for (const name of ['session.js', 'game_state.js', 'game_constants.js', 'questions.js']) {
  fs.copyFileSync(path.join(site, name), path.join(copy, name));
}
fs.writeFileSync(path.join(copy, 'package.json'), '{"type": "module"}\n');
const load = (name) => import(pathToFileURL(path.join(copy, name)).href);
const {Session, refusal} = await load('session.js');
const {allHits, scoreText} = await load('game_state.js');
const {EVENTS, OUTCOMES, PAUSE, WAITS} = await load('game_constants.js');
const {questionsOf} = await load('questions.js');
const createHitblow = createRequire(import.meta.url)(
    path.resolve(process.env.HITBLOW_QUESTIONS || 'build/web/web/hitblow_questions.js'));
const questions = questionsOf(await createHitblow({noInitialRun: true}));
process.on('exit', () => fs.rmSync(copy, {recursive: true, force: true}));

// A stand-in for runner.js's startRun that reports events as the game does: the secret is 0123
// or 4567 by the seed, the computer guesses 5678, 9012, 3456; two answers X in a row are its
// contradiction.
const GUESSES = [5678, 9012, 3456];
function program(seed, lines, on) {
  const typed = lines.slice();
  const run = {over: false, waiting: null, takeTyped: () => typed.splice(0)};
  const hand = (resolve, text) => on.read(text) || resolve(text);
  const read = () => new Promise((resolve) => {
    on.waiting();
    if (!run.over) typed.length ? hand(resolve, typed.shift()) : run.waiting = resolve;
  });
  run.send = (text) => {
    if (!run.over) run.waiting ? hand(run.waiting, text, run.waiting = null) : typed.push(text);
  };
  run.stop = () => void (run.over = true);
  // Prints `text`, then reports the event `name` with its numbers by name.
  const say = (text, name = null, values = {}) => {
    on.output(text);
    const number = EVENTS.findIndex(([event]) => event === name);
    if (name) on.event(number, EVENTS[number][1].map((field) => values[field]));
  };
  const wait = (what) => say('', 'waiting', {what: WAITS.indexOf(what)}) || read();
  const secret = seed % 2 ? 4567 : 123;
  (async () => {
    const rows = [];
    for (let turn = 0; ; ++turn) {
      const guess = Number(await wait('guess'));
      const score = questions.scoreGuess(guess, secret);
      say('Guess ' + guess + ' ' + scoreText(score) + '\n', 'scored', {guess, ...score});
      say('Mine: ' + GUESSES[turn] + '\n', 'computerGuess', {guess: GUESSES[turn]});
      const answer = questions.scanAnswer(await wait('answer')).score;
      say('', 'answer', {guess: GUESSES[turn], ...answer});
      rows.push(answer);
      if (allHits(score) || allHits(answer)) {
        const outcome = OUTCOMES.indexOf(allHits(score) ? 'win' : 'loss');
        say('Won\n', 'result', {outcome, secret});
        break;
      }
      if (rows.length > 1 && rows.slice(-2).every((a) => scoreText(a) === 'X')) {
        say('Strange.\n', 'contradiction');
        if (/^[Yy]/.test(await wait('confirm'))) {
          const should = questions.scoreGuess(GUESSES[0], Number(await wait('code')));
          say('', 'wrongAnswer', {turn: 1, guess: GUESSES[0], saidHits: 0, saidBlows: 0,
                                  shouldHits: should.hits, shouldBlows: should.blows});
        }
        say('', 'result', {outcome: OUTCOMES.indexOf('loss'), secret: -1});
        break;
      }
    }
    say(PAUSE);
    await wait('end');
    run.over = true;
    on.exit(0, null);
  })();
  return run;
}

// A session on the stand-in, begun (`saved` replayed), with what it saves, counts and shows;
// `settle()` lets it run.
async function session(seed = 0, saved = null) {
  const kept = {game: null, record: {played: 0, won: 0, lost: 0}, screen: '', ended: 0};
  const count = (result, by) => {
    kept.record.played += by;
    kept.record[{win: 'won', loss: 'lost'}[result]] += by;
    return {...kept.record};
  };
  const s = new Session({
    program, newSeed: () => seed, questions,
    store: {save: (game) => void (kept.game = structuredClone(game)),
            drop: () => void (kept.game = null), count: (r) => count(r, 1),
            uncount: (r) => count(r, -1)},
    show: {begun: () => void (kept.screen = ''), output: (t) => void (kept.screen += t),
           error: () => {}, typed: () => {}, turn: () => {}, changed: () => {},
           ended: () => void (kept.ended += 1), exited: () => {}},
  });
  Object.assign(s, {kept, settle: () => new Promise((resolve) => setImmediate(resolve))});
  s.type = async (...lines) => {
    const refused = lines.map((line) => s.send(line));
    await s.settle();
    return refused;
  };
  s.begin(saved);
  await s.settle();
  return s;
}

test('holds back what no code can give, anything but Y or N, and an answer the code denies', () => {
  // waiting, line, expected score, kind held back and what it reads as (null: sent), why
  const cases = [
    ['answer', '3H1B', null, 'threeOne', 'the fourth digit has nowhere else to be'],
    ['answer', '5H', null, 'tooMany'], ['answer', '2H3B', null, 'tooMany'],
    ['answer', '0H20B', null, 'tooMany', 'the program would take it for 4H'],
    ['answer', '-1H0B', null, 'negative', 'the program drops it without a word'],
    ['answer', '4H', null, null], ['answer', '3H', null, null], ['answer', '12B', null, 'form null',
    'unreadable: the program would only remind of the syntax'], ['answer', '', null, 'form null'],
    ['answer', 'X1B', null, 'form X', 'the program reads X first'],
    ['answer', '1H1H', null, 'form 1H1B', 'the second number counts as blows'],
    ['answer', '1 2', '1H2B', 'form 1H2B', 'right, but not as the reminder teaches'],
    ['answer', '1h2b', '1H2B', null, 'same'], ['answer', '2B', '1H2B', 'differs'],
    ['confirm', '', null, 'yesOrNo', 'it would read as N'],
    ['confirm', ' y', null, 'yesOrNo', 'so would this'], ['confirm', 'yes', null, null],
    ['confirm', 'N', null, null], ['guess', '', null, 'notCode'],
    ['guess', '123', null, 'notCode', 'the program would play 0123'],
    ['guess', '1123', null, 'notCode'],
    ['guess', '0123', null, null], ['guess', '?', null, null, 'the history'],
    ['code', '9915', null, 'notCode', 'a repeated digit, which the program takes unchecked'],
  ];
  for (const [waiting, line, expected, kind, why] of cases) {
    const held = refusal(questions, waiting, line, expected);
    const read = held && 'readAs' in held ? [String(held.readAs)] : [];
    assert.equal(held && [held.kind].concat(read).join(' '), kind,
                 `${waiting} ${JSON.stringify(line)}: ${why || ''}`);
  }
});

test('undo replays the game without the last line, again and again, and the save follows', async () => {
  const s = await session(1);
  await s.type('0123', '1H', '4561', 'X');
  const after = [s.kept.screen, structuredClone(s.state.rows), s.kept.game];
  assert.deepEqual(s.kept.game, {seed: 1, lines: ['0123', '1H', '4561', 'X']});
  await s.type('?');
  assert.equal(s.undo(), true);
  await s.settle();
  assert.deepEqual([s.kept.screen, s.state.rows, s.kept.game], after, 'as before the line');
  for (const lines of [['0123', '1H', '4561'], ['0123', '1H'], ['0123'], []]) {
    s.undo();
    await s.settle();
    assert.deepEqual(s.kept.game.lines, lines);
    assert.equal(s.state.waiting, lines.length % 2 ? 'answer' : 'guess');
  }
  assert.equal(s.undo(), false, 'nothing left to take back');
  const resumed = await session(1, after[2]);  // a reload: the saved game replayed
  assert.deepEqual([resumed.kept.screen, resumed.state.rows], after.slice(0, 2));
});

test('a game taken back from its end counts once it ends again', async () => {
  const s = await session();
  await s.type('5678', 'X', '9012', 'X');
  assert.equal(s.state.waiting, 'confirm');
  assert.deepEqual(await s.type('', 'maybe'), [{kind: 'yesOrNo'}, {kind: 'yesOrNo'}]);
  s.myCode = '9876';
  assert.deepEqual(await s.type('n'), [{kind: 'denied', wrong: {turn: 1, guess: '5678', said: 'X',
                                                                should: '1H2B'}}], 'N held once');
  await s.type('y');
  assert.equal(s.expected(), '9876', 'the code offered when the computer asks for it');
  s.myCode = null;
  await s.type('9876');
  assert.deepEqual([s.state.result, s.state.contradiction.wrong, s.kept.record],
                   ['loss', {turn: 1, guess: '5678', said: 'X', should: '1H2B'},
                    {played: 1, won: 0, lost: 1}]);
  for (let i = 0; i < 3; ++i) s.undo();
  await s.settle();
  assert.deepEqual([s.state.waiting, s.kept.record.played, s.kept.game.lines],
                   ['answer', 0, ['5678', 'X', '9012']]);
  await s.type('1B', '3456', '4H');
  assert.deepEqual([s.state.result, s.kept.record, s.kept.ended], ['loss', {played: 1, won: 0, lost: 1}, 2]);
});
