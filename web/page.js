// hitblow in a browser page, wired once here: the program runner (runner.js), the game state the
// board is drawn from (game_state.js), the view (view.js), the keys (keys.js), what is kept on
// this device (storage.js) and the page's words in the player's language (words.js).
//
// Each game is one fresh run of the program; the page shows what it prints and sends it only the
// lines a player types. The URL parameters are the game's options: ?mesg=en (messages/en.txt),
// ?quiet (the computer keeps its thoughts to itself), and ?sjis for tests. Without ?mesg= the game
// starts in the visitor's language when a catalogue speaks it; ?mesg= alone is the built-in
// Japanese. The built-in texts are Shift-JIS bytes; a message file is decoded as UTF-8.
//
// The service worker (sw.js) keeps the whole site, so that it plays offline once visited.
import {CATALOGUES} from './catalogues.js';
import {GameState, scoreValue} from './game_state.js';
import {focusLine, setUpKeys} from './keys.js';
import {codesLeft, secretOf, startRun} from './runner.js';
import * as storage from './storage.js';
import * as view from './view.js';
import {WORDS, wordsFor} from './words.js';

// The program's Return prompt of its closing pause (console::pause_for_return).
const PAUSE = '\n--(Hit return key)--\n';

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
// no match at all is too.
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
  return '';
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

// The game on screen: its run, the state drawn from it, the run's seed and the lines it has read.
let state = new GameState();
let run = null;
let seed = 0;
let lines = [];
let replaying = 0;       // saved lines not yet read again by the resumed run
let resumed = false;     // a saved game being replayed, before the player's first new line
let failed = false;      // the run ended without a game (an unreadable message file)
let restarting = null;   // the lines to start the next game with, once the program has ended
let carried = [];        // lines typed ahead of the closing pause

function freshSeed() {
  return crypto.getRandomValues(new Uint32Array(1))[0];
}

function draw() {
  view.drawBoard(state, words);
  view.drawPrompt(state, words, failed);
  view.scrollToEnd();
}

// A new run: the saved game `saved` replayed, or a fresh game that reads `firstLines` first.
function newGame(saved, firstLines = []) {
  if (run) run.stop();
  state = new GameState();
  failed = false;
  restarting = null;
  seed = saved ? saved.seed : freshSeed();
  lines = saved ? saved.lines.slice() : [];
  replaying = lines.length;
  resumed = replaying > 0;
  view.clearScreen();
  view.showSheet('result', false);
  view.announce('');
  const current = startRun(options, seed, lines, {
    output: (text) => {
      state.output(text);
      view.showOutput(text);
    },
    error: (text) => view.showNote(text, 'stderr'),
    slot: (slot, values) => {
      const row = state.slot(slot, values);
      if (row && !resumed) {
        const score = scoreValue(row.score);
        view.announce(words.announce(state.rows.length, row.guess,
                                     words.score(Math.floor(score / 5), score % 5),
                                     row.computerGuess));
      }
      draw();
    },
    waiting: () => {
      state.wait();
      if (state.waiting === 'end' && resumed) {
        refuseSavedGame();
        return;
      }
      draw();
      if (state.waiting === 'end') {
        carried = current.takeTyped();  // typed before the end: the next game's first lines
        gameOver();
      }
      focusLine();
    },
    read: (text) => {
      view.showNote(text + '\n', 'typed');
      const wasEnd = state.waiting === 'end';
      state.running();
      draw();
      if (replaying > 0) {
        replaying -= 1;
        return;
      }
      resumed = false;
      if (wasEnd) return;
      lines.push(text);
      storage.saveGame({seed, mesg: options.mesg, quiet: options.quiet, lines});
    },
    exit: (status, reason) => {
      document.getElementById('prompt').dataset.lastExit = reason ? 'abort' : String(status);
      if (current !== run) return;
      if (resumed) {
        refuseSavedGame();
        return;
      }
      if (restarting !== null) {
        newGame(null, restarting);
        return;
      }
      if (!view.sheetShown('result')) {  // stopped, or ended without its pause
        failed = true;
        state.waiting = 'end';
        draw();
        view.showResult(state, words, true);
      }
    },
  });
  run = current;
  for (const text of firstLines) run.send(text);
  draw();
}

// A saved game whose replay the program refuses (it ends early, or the run stops) is dropped,
// and a fresh game starts.
function refuseSavedGame() {
  storage.dropGame();
  newGame(null);
}

// The closing pause: the end card in place of the pause line, the record counted once.
function gameOver() {
  storage.dropGame();
  view.setPauseAside(PAUSE);
  failed = state.result === null;
  draw();
  const result = failed ? null : storage.countGame(state.result, state.rows.length);
  showRecord(result);
  view.showResult(state, words, failed);
  document.querySelector('#result [data-action="play-again"]').focus();
  if (failed) return;
  view.announce(words[state.result] + ' ' + words.turns(state.rows.length));
  const finished = state;
  const sides = state.sides();
  Promise.all([codesLeft(sides.computer), codesLeft(sides.player),
               state.secret !== null ? state.secret : secretOf(seed)])
      .then(([computer, player, secret]) => {
        if (finished !== state) return;
        if (state.secret === null) {
          state.secret = String(secret).padStart(4, '0');
          view.showResult(state, words, false);
        }
        view.drawReview(computer, player, words);
      })
      .catch((error) => console.warn('hitblow review: ' + error));
}

function showRecord(counted) {
  const r = counted || storage.record();
  view.drawRecord(r, storage.averageWinTurns(r), words);
}

// Play again: the page answers the program's wait for Return itself, and the next game starts
// once the program has ended; what was typed at the end (`firstLine`, not empty) is the new
// game's first line.
function playAgain(firstLine) {
  const first = carried.concat(firstLine ? [firstLine] : []);
  carried = [];
  if (run && !run.over && state.waiting === 'end') {
    restarting = first;
    run.send('');
    return;
  }
  newGame(null, first);
}

// Runs `then` at once, or after the player agrees to abandon the game in progress; `otherwise`
// when they keep it.
let onAbandon = null;
let onKeep = null;
function unlessInProgress(then, otherwise = () => {}) {
  if (!state.inProgress()) {
    then();
    return;
  }
  onAbandon = () => {
    storage.dropGame();
    then();
  };
  onKeep = otherwise;
  view.showSheet('confirm', true);
  document.querySelector('#confirm [data-action="keep"]').focus();
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
  'new-game': () => unlessInProgress(() => playAgain('')),
  'play-again': () => playAgain(''),
  'clear-record': () => {
    storage.clearRecord();
    showRecord(null);
  },
  'abandon': () => {
    view.showSheet('confirm', false);
    onAbandon();
  },
  'keep': () => {
    view.showSheet('confirm', false);
    onKeep();
    focusLine();
  },
};

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
showRecord(null);
setUpKeys((text) => {
  if (state.waiting === 'end') {
    playAgain(text);
  } else if (run) {
    run.send(text);
  }
});
if (!storage.rulesSeen() || window.location.hash === '#rules') ACTIONS.rules();
keepForOffline();
const saved = storage.savedGame();
const resumable = saved && saved.mesg === options.mesg && saved.quiet === options.quiet;
newGame(resumable ? saved : null);
focusLine();
