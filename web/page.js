// hitblow in a browser page, wired once here: the program runner (runner.js), the game on screen
// with its seed, lines, replay and undo (session.js), the game state the board is drawn from
// (game_state.js), the view (view.js), the keys (keys.js), what is kept on this device
// (storage.js) and the page's words in the player's language (words.js).
//
// Each game is one fresh run of the program; the page shows what it prints and sends it only the
// lines a player types. The URL parameters are the game's options: ?mesg=en (messages/en.txt),
// ?quiet (the computer keeps its thoughts to itself), and ?sjis for tests. Without ?mesg= the game
// starts in the visitor's language when a catalogue speaks it, else in English; ?mesg= alone is
// the built-in Japanese. The built-in texts are Shift-JIS bytes; a message file is decoded as UTF-8.
//
// The service worker (sw.js) keeps the whole site, so that it plays offline once visited.
import {CATALOGUES} from './catalogues.js';
import {PAUSE} from './game_constants.js';
import {allHits, code} from './game_state.js';
import {focusLine, offerLine, setUpKeys} from './keys.js';
import {askQuestions, startRun} from './runner.js';
import {Session} from './session.js';
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
const options = {
  // ?mesg= decides, even empty (the built-in texts, as the menu's first entry sends it).
  mesg: params.has('mesg') ? params.get('mesg') : visitorsCatalogue(),
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

function draw() {
  const state = session.state;
  const expected = session.expected();
  view.drawBoard(state, words);
  view.drawPrompt(state, words, session.failed, expected);
  view.drawUndo(session.canUndo());
  view.drawScratch(marks, words);
  view.scrollToEnd();
  // What the player's code gives is offered in the line, once a wait, and only to an empty line.
  const wait = state.waiting + ':' + session.lines.length;
  if (expected !== null && state.waiting !== 'end' && offered !== wait) {
    offered = wait;
    if (!document.getElementById('line').value) offerLine(expected);
  }
}

function save({seed, lines}) {
  storage.saveGame({seed, mesg: options.mesg, quiet: options.quiet, lines, marks});
}

const session = new Session({
  program: (seed, lines, on) => startRun(options, seed, lines, on),
  newSeed: () => crypto.getRandomValues(new Uint32Array(1))[0],
  store: {save, drop: storage.dropGame, count: storage.countGame, uncount: storage.uncountGame},
  show: {
    begun: (fresh) => {
      if (fresh) marks = '';
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
  view.showResult(state, words, session.failed);
  document.querySelector('#result [data-action="play-again"]').focus();
  if (session.failed) return;
  view.announce(words[state.result] + ' ' + words.turns(state.rows.length));
  const sides = state.sides();
  askQuestions()
      .then((questions) => {
        if (state !== session.state) return;
        if (state.secret === null) {
          state.secret = code(questions.secretOf(session.seed));
          view.showResult(state, words, false);
        }
        view.drawReview(questions.codesLeft(sides.computer), questions.codesLeft(sides.player),
                        words);
      })
      .catch((error) => console.warn('hitblow review: ' + error));
}

function showRecord(counted) {
  const r = counted || storage.record();
  view.drawRecord(r, storage.averageWinTurns(r), words);
}

// Asks `question` (abandon, forgetRecord) in the confirming sheet: `then` once the player agrees,
// `otherwise` if not.
let onAgree = null;
let onKeep = null;
function ask(question, then, otherwise = () => {}) {
  onAgree = then;
  onKeep = otherwise;
  view.ask(question, words);
}

// Runs `then` at once, or after the player agrees to abandon the game in progress.
function unlessInProgress(then, otherwise) {
  if (!session.inProgress()) {
    then();
    return;
  }
  ask('abandon', () => {
    storage.dropGame();
    then();
  }, otherwise);
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
  'new-game': () => unlessInProgress(() => session.playAgain('')),
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

// The player's code, kept on this device for checking their answers: what the game reads as a
// code when it is typed as a guess, or nothing.
function setUpMyCode() {
  const take = () => {
    const text = myCodeInput.value.trim();
    const read = session.questions && session.questions.codeOfLine(text);
    session.myCode = read === null || read === undefined ? null : code(read);
    myCodeInput.setAttribute('aria-invalid', String(text !== '' && session.myCode === null));
    storage.setMyCode(session.myCode);
  };
  myCodeInput.value = storage.myCode();
  take();
  myCodeInput.addEventListener('input', () => {
    take();
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
  menu.addEventListener('change', () => unlessInProgress(
      () => reopenWith(menu.value, options.quiet), () => {
        menu.value = options.mesg;
      }));
  aloud.addEventListener('change', () => unlessInProgress(
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
view.followRemarks();
window.addEventListener('resize', view.placeResult);
if (!storage.rulesSeen() || window.location.hash === '#rules') ACTIONS.rules();
keepForOffline();
const saved = storage.savedGame();
const resumable = saved && saved.mesg === options.mesg && saved.quiet === options.quiet;
if (resumable) marks = saved.marks;
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
