// hitblow in a browser page, wired once here: the program runner (runner.js), the game on screen
// with its seed, lines, replay and undo (session.js), the game state the board is drawn from
// (game_state.js), the view (view.js), the keys (keys.js), what is kept on this device
// (storage.js), today's game (daily.js) and the page's words in the player's language (words.js).
//
// Each game is one fresh run of the program; the page shows what it prints and sends it only the
// lines a player types. The URL parameters are the game's options: ?mesg=en (messages/en.txt),
// ?quiet (the computer keeps its thoughts to itself), and ?sjis for tests. Without ?mesg= the game
// starts in the visitor's language when a catalogue speaks it, else in English; ?mesg= alone (or
// ?mesg=ja) is the built-in Japanese. The built-in texts are Shift-JIS bytes; a message file is
// decoded as UTF-8.
//
// The service worker (sw.js) keeps the whole site, so that it plays offline once visited.
import {CATALOGUES} from './catalogues.js';
import {dailySeed, localDate, shareCard, untilTomorrow} from './daily.js';
import {PAUSE} from './game_constants.js';
import {allHits, code} from './game_state.js';
import {focusLine, offerLine, setUpKeys} from './keys.js';
import {askQuestions, startRun} from './runner.js';
import {codeTyped, Session} from './session.js';
import * as storage from './storage.js';
import * as view from './view.js';
import {WORDS, wordsFor} from './words.js';

// The language menu: the built-in texts (Japanese) first, then each catalogue the build found
// under its language's own name; a catalogue in a language already listed (ja-utf8) is left out,
// and one without a table of page words is listed by its file name.
function languageMenu() {
  const menu = [{mesg: '', lang: 'ja', name: WORDS.ja.name}];
  for (const mesg of CATALOGUES) {
    const lang = wordsFor(mesg);
    if (lang && menu.some((entry) => entry.lang === lang)) continue;
    menu.push({mesg, lang: lang || mesg, name: lang ? WORDS[lang].name : mesg});
  }
  return menu;
}
const MENU = languageMenu();

// The menu entry of the first of the visitor's languages that one speaks: a language tag's first
// subtag, except that Chinese is told apart by script or region (zh-TW, zh-HK and zh-MO read
// Traditional characters; zh-CN, zh-SG and plain zh Simplified). Japanese is the built-in texts;
// a visitor none of whose languages is there gets English (the console's own default stays the
// built-in texts).
function visitorsCatalogue() {
  const tags = navigator.languages && navigator.languages.length ? navigator.languages
                                                                   : [navigator.language || ''];
  for (const tag of tags) {
    const subtags = tag.toLowerCase().split('-');
    let lang = subtags[0];
    if (lang === 'zh') {
      const traditional = subtags.some((s) => ['hant', 'tw', 'hk', 'mo'].includes(s));
      lang = traditional ? 'zh-Hant' : 'zh-Hans';
    }
    const found = MENU.find((entry) => entry.lang === lang);
    if (found) return found.mesg;
  }
  const english = MENU.find((entry) => entry.lang === 'en');
  return english ? english.mesg : '';
}

const params = new URLSearchParams(window.location.search);
// ?mesg=ja names the built-in Japanese, as the console's -mesg=ja does.
const BUILT_IN_NAME = 'ja';
const options = {
  // ?mesg= decides, even empty (the built-in texts, as the menu's first entry sends it).
  mesg: !params.has('mesg') ? visitorsCatalogue()
      : params.get('mesg') === BUILT_IN_NAME ? '' : params.get('mesg'),
  quiet: params.has('quiet'),
  sjis: params.has('sjis'),
};
const playing = MENU.find((entry) => entry.mesg === options.mesg);
const lang = playing ? playing.lang : wordsFor(options.mesg) || 'en';
const words = WORDS[wordsFor(lang) || 'en'];

const prompt = document.getElementById('prompt');
const myCodeInput = document.getElementById('my-code');
// The scratchpad's marks, kept with the saved game (view.js's MARKS by letter).
let marks = '';
// The wait whose expected score the line was last filled with, so that it is offered once.
let offered = null;
// The date of today's game when the game on screen is that one, else null; the date of the next
// game when it is to be today's.
let daily = null;
let nextDaily = null;
// The player's code belongs to one game: the games begun (fresh) so far, and the one the code
// was typed for.
let games = 0;
let codeFor = null;
// Where the player last tapped or clicked, so that a question's button that abandons a game is
// never put there.
let lastTap = null;

function draw() {
  const state = session.state;
  const expected = session.expected();
  view.drawBoard(state, words);
  view.drawPrompt(state, words, session.failed, expected);
  view.drawUndo(session.canUndo());
  view.drawScratch(marks, words);
  view.drawStart(underWay(), words);
  view.scrollToEnd();
  // What the player's code gives is offered in the line, once a wait, and only to an empty line.
  const wait = state.waiting + ':' + session.lines.length;
  if (expected !== null && state.waiting !== 'end' && offered !== wait) {
    offered = wait;
    if (!document.getElementById('line').value) offerLine(expected);
  }
}

function save({seed, lines}) {
  storage.saveGame({seed, mesg: options.mesg, quiet: options.quiet, lines, marks, daily});
}

// Whether leaving now would abandon a game: one under way, or today's game begun and not ended.
function underWay() {
  return session.inProgress() ||
         (daily !== null && session.state.result === null && !session.failed);
}

// Today's game's record and buttons as of now.
function drawDaily() {
  const today = localDate(new Date());
  const record = storage.daily(today);
  view.drawDaily(record, record.ended === today ? untilTomorrow(new Date()) : null, words);
}

// A new game's seed: today's game's, from the date alone, when it is to be that one.
function newSeed() {
  daily = nextDaily;
  nextDaily = null;
  return daily !== null ? dailySeed(daily) : crypto.getRandomValues(new Uint32Array(1))[0];
}

// The player's code, as typed (four different digits checks the answers; anything else none);
// `shown` when the field is to show it.
function setMyCode(text, shown = true) {
  if (shown) myCodeInput.value = text;
  session.myCode = codeTyped(session.questions, text);
  myCodeInput.setAttribute('aria-invalid', String(text !== '' && session.myCode === null));
  storage.setMyCode(session.myCode);
}

// A game's result counted in the record, and today's game in its own too.
function count(result, turns) {
  if (daily !== null) storage.countDaily(daily, result);
  drawDaily();
  return storage.countGame(result, turns);
}

function uncount(result, turns) {
  if (daily !== null) storage.uncountDaily(daily);
  drawDaily();
  return storage.uncountGame(result, turns);
}

const session = new Session({
  program: (seed, lines, on) => startRun(options, seed, lines, on),
  newSeed,
  store: {save, drop: storage.dropGame, count, uncount},
  show: {
    begun: (fresh) => {
      // A new game clears the notes, and the player's code unless it was typed for this game.
      if (fresh) {
        marks = '';
        games += 1;
        if (codeFor !== games) setMyCode('');
      }
      offered = null;
      view.clearScreen();
      view.showSheet('result', false);
      view.showRefusal(null, words);
      view.announce('');
    },
    output: (text) => view.showOutput(text),
    error: (text) => view.showNote(text, 'stderr'),
    typed: (text) => {
      view.showRefusal(null, words);
      view.showNote(text + '\n', 'typed');
    },
    turn: (row) => {
      let said = words.announce(session.state.rows.length, row.guess,
                                words.score(row.score.hits, row.score.blows), row.computerGuess);
      if (allHits(row.score)) said += ' ' + words.lastGuess(row.computerGuess);
      view.announce(said);
    },
    changed: () => {
      draw();
      if (session.state.waiting) focusLine();
    },
    ended: gameOver,
    exited: (status, reason) => {
      prompt.dataset.lastExit = reason ? 'abort' : String(status);
    },
  },
});

// The closing pause: the end card in place of the pause line, with the record as counted.
function gameOver(counted) {
  const state = session.state;
  view.setPauseAside(PAUSE);
  draw();
  showRecord(counted);
  view.showResult(state, words, session.failed, daily !== null);
  document.querySelector('#result [data-action="play-again"]').focus();
  if (session.failed) return;
  view.announce(words[state.result] + ' ' + words.turns(state.rows.length));
  drawReview(state);
}

// How both sides closed in, on the end card of the game `state`.
function drawReview(state) {
  const sides = state.sides();
  askQuestions()
      .then((questions) => {
        if (state !== session.state) return;
        const computer = questions.codesLeft(sides.computer);
        view.drawReview(computer, questions.codesLeft(sides.player), words);
        // Answers that left the computer no code, which its dialog never got to (the player won
        // first), are named all the same.
        if (!state.contradiction && computer.includes(0)) {
          view.flagAnswers(session.wrongAnswer(), words);
        }
      })
      .catch((error) => console.warn('hitblow review: ' + error));
}

// The computer's code, which the contradiction dialog never shows, at the player's asking: the
// game is then final (no Undo; it counted as lost when it ended).
function reveal() {
  const state = session.state;
  if (state.waiting !== 'end' || state.secret !== null || !session.questions) return;
  state.secret = code(session.questions.secretOf(session.seed));
  draw();
  view.showResult(state, words, false, daily !== null);
  drawReview(state);
}

function showRecord(counted) {
  const r = counted || storage.record();
  view.drawRecord(r, storage.averageWinTurns(r), words);
  drawDaily();
}

// Asks `question` (abandon, forgetRecord) in the confirming sheet, saying `why` when given:
// `then` once the player agrees, `otherwise` if not.
let onAgree = null;
let onKeep = null;
function ask(question, then, otherwise = () => {}, why = '') {
  onAgree = then;
  onKeep = otherwise;
  view.ask(question, words, why, lastTap);
}

// Runs `then` at once, or after the player agrees to abandon the game under way, told `why` it
// would end (words.abandonWhy's key). Today's game abandoned counts as lost.
function unlessInProgress(why, then, otherwise) {
  if (!underWay()) {
    then();
    return;
  }
  const said = words.abandonWhy[why] + (daily !== null ? ' ' + words.dailyLoss : '');
  ask('abandon', () => {
    if (daily !== null) storage.countDaily(daily, 'loss');
    storage.dropGame();
    drawDaily();
    then();
  }, otherwise, said);
}

// Starts today's game, unless it has ended on this device: at once, or after the question when a
// game is under way. Today's game under way goes on.
function startDaily() {
  const today = localDate(new Date());
  if (storage.daily(today).ended === today) return;
  if (daily === today && underWay()) return ACTIONS.start();
  unlessInProgress('daily', () => {
    ACTIONS.start();
    nextDaily = today;
    session.playAgain('');
  });
}

// Shares today's game's card: the phone's own sharing where there is one, else the clipboard,
// with a notice that says which; where neither works the notice holds the card to copy by hand.
function share() {
  const state = session.state;
  const [y, m, d] = daily.split('-').map(Number);
  const date = new Intl.DateTimeFormat(lang, {dateStyle: 'medium'}).format(new Date(y, m - 1, d));
  const text = shareCard(words.shareTitle(date, state.result, state.rows.length),
                         state.rows.map((row) => row.score));
  const copy = () => navigator.clipboard.writeText(text).then(() => view.notice(words.shared));
  const shared = navigator.share ? navigator.share({text}).catch((error) => {
    if (error.name !== 'AbortError') return copy();
  }) : copy();
  shared.catch(() => view.notice(words.notShared + '\n' + text));
}

// Another language or thinking aloud is another run of the program: a page with those options.
function reopenWith(mesg, quiet) {
  const next = new URLSearchParams();
  next.set('mesg', mesg);
  if (quiet) next.set('quiet', '');
  if (options.sjis) next.set('sjis', '');
  window.location.assign('?' + next.toString().replace(/=(&|$)/g, '$1').replace(/^mesg&/, 'mesg=&') +
                         '#rules');
}

const ACTIONS = {
  'start': () => {
    storage.markRulesSeen();
    if (window.location.hash) history.replaceState(null, '', window.location.pathname + window.location.search);
    view.showSheet('rules', false);
    focusLine();
  },
  'rules': () => {
    showRecord(null);
    view.showSheet('rules', true);
    document.querySelector('#rules [data-action="start"]').focus({preventScroll: true});
  },
  'new-game': () => unlessInProgress('newGame', () => session.playAgain('')),
  'daily': () => startDaily(),
  'share': () => share(),
  'reveal': () => reveal(),
  'play-again': () => session.playAgain(''),
  'undo': () => {
    if (session.undo()) focusLine();
  },
  'clear-record': () => ask('forgetRecord', () => {
    storage.clearRecord();
    showRecord(null);
  }),
  'agree': () => {
    view.showSheet('confirm', false);
    onAgree();
  },
  'keep': () => {
    view.showSheet('confirm', false);
    onKeep();
    focusLine();
  },
};

// The player's code, kept on this device for checking their answers: four different digits that
// the game reads as a code, or nothing. Typed at a game's end, it is the next game's.
function setUpMyCode() {
  setMyCode(storage.myCode());
  myCodeInput.addEventListener('input', () => {
    setMyCode(myCodeInput.value.trim(), false);
    codeFor = session.state.waiting === 'end' ? games + 1 : games;
    offered = null;
    draw();
  });
}

// A tap on a digit of the scratchpad moves its mark on; the marks are saved with the game.
function setUpScratch() {
  document.getElementById('scratch').addEventListener('click', (event) => {
    const toggle = event.target.closest('[data-digit]');
    if (!toggle) return;
    marks = view.nextMark(marks, Number(toggle.dataset.digit));
    view.drawScratch(marks, words);
    if (session.state.waiting !== 'end') save(session);
  });
}

function setUpOptions() {
  const menu = document.getElementById('mesg');
  for (const entry of MENU) {
    const option = new Option(entry.name, entry.mesg);
    option.lang = entry.lang;
    menu.add(option);
  }
  if (!playing) menu.add(new Option(options.mesg, options.mesg));
  menu.value = options.mesg;
  const aloud = document.getElementById('thinks-aloud');
  aloud.checked = !options.quiet;
  menu.addEventListener('change', () => unlessInProgress('language',
      () => reopenWith(menu.value, options.quiet), () => {
        menu.value = options.mesg;
      }));
  aloud.addEventListener('change', () => unlessInProgress('aloud',
      () => reopenWith(options.mesg, !aloud.checked), () => {
        aloud.checked = !options.quiet;
      }));
}

// Keeps the site for playing offline. Where the browser allows no service worker (a page not
// served from https or from this machine) the game still plays, online only. Every visit asks
// for sw.js anew, as browsers may put that off: a new site then replaces the cached one at once.
// Offline that request fails, and the cached site plays on.
function keepForOffline() {
  if (!('serviceWorker' in navigator)) return;
  navigator.serviceWorker.register('sw.js')
      .then((registration) => registration.update())
      .catch((error) => console.warn('hitblow offline: ' + error));
}

// A run ends by exit(), which the runtime throws as a rejection once the program has resumed
// from a wait; the page has seen the exit already, so it is no error.
window.addEventListener('unhandledrejection', (event) => {
  if (event.reason && event.reason.name === 'ExitStatus') event.preventDefault();
});

document.addEventListener('pointerdown', (event) => {
  lastTap = {x: event.clientX, y: event.clientY};
}, true);
document.addEventListener('click', (event) => {
  const button = event.target.closest('[data-action]');
  if (button && ACTIONS[button.dataset.action]) ACTIONS[button.dataset.action]();
});

view.applyWords(words, lang);
setUpOptions();
setUpScratch();
showRecord(null);
setUpKeys((text) => {
  const refused = session.send(text);
  view.showRefusal(refused, words);
  return !refused;
});
// The reason a line was held back goes as the player mends it.
document.getElementById('line').addEventListener('input', () => view.showRefusal(null, words));
view.followRemarks();
window.addEventListener('resize', view.placeResult);
if (!storage.rulesSeen() || window.location.hash === '#rules') ACTIONS.rules();
keepForOffline();
const saved = storage.savedGame();
// Today's game resumes whatever the options: it can't begin again.
const sameOptions = saved && saved.mesg === options.mesg && saved.quiet === options.quiet;
const resumable = saved && (saved.daily !== null || sameOptions);
if (resumable) {
  marks = saved.marks;
  daily = saved.daily;
  codeFor = games;  // the code kept on this device is this game's
}
// The game's own questions come first, so that every line is checked by its rules; if the
// program can't be loaded the run fails the same way, and its end card says so.
askQuestions()
    .catch((error) => {
      console.warn('hitblow questions: ' + error);
      return null;
    })
    .then((questions) => {
      session.questions = questions;
      setUpMyCode();
      session.begin(resumable ? saved : null);
      focusLine();
    });
