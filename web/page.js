// hitblow in a browser page. Each game is one fresh run of the program (hitblow.js and
// hitblow.wasm); the page is its console: the program's output bytes are decoded and shown as
// they come, and each line typed at the bottom is echoed and handed to the program, which waits
// for it without blocking the page.
//
// The URL parameters are the game's command-line options: ?mesg=en (messages/en.txt), ?quiet,
// ?sjis. Without ?mesg= the game starts in the visitor's language when a catalogue speaks it.
// The built-in texts are Shift-JIS bytes and are decoded so; a message file is decoded as UTF-8,
// the encoding the shipped files are written in.
//
// On a touch screen a key pad under the screen types into the same line, and the service worker
// (sw.js) keeps the whole site so that it plays offline once visited.
'use strict';

(function () {
  const screen = document.getElementById('screen');
  const terminal = document.getElementById('terminal');
  const typing = document.getElementById('typing');
  const line = document.getElementById('line');
  const statusLine = document.getElementById('status');

  // Every catalogue of messages/ under its own name, the built-in texts first (mesg ''); `lang`
  // is the language the page declares while it plays, and what a visitor's languages match.
  const CATALOGUES = [
    {mesg: '', name: '日本語 (built in)', lang: 'ja'},
    {mesg: 'en', name: 'English', lang: 'en'},
    {mesg: 'ja-utf8', name: '日本語 (UTF-8)', lang: 'ja'},
    {mesg: 'ko', name: '한국어', lang: 'ko'},
    {mesg: 'zh-Hans', name: '简体中文', lang: 'zh-Hans'},
    {mesg: 'zh-Hant', name: '繁體中文', lang: 'zh-Hant'},
    {mesg: 'ru', name: 'Русский', lang: 'ru'},
    {mesg: 'es', name: 'Español', lang: 'es'},
  ];

  // The catalogue of the first of the visitor's languages that one speaks: a language tag's
  // first subtag, except that Chinese is told apart by script or region (zh-TW, zh-HK and
  // zh-MO read Traditional characters; zh-CN, zh-SG and plain zh Simplified). Japanese is the
  // built-in texts; none at all is too.
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
      const found = CATALOGUES.find((c) => c.lang === lang);
      if (found) return found.mesg;
    }
    return '';
  }

  const params = new URLSearchParams(window.location.search);
  const options = {
    // ?mesg= decides, even empty (the built-in texts, as the menu's first choice sends it).
    mesg: params.has('mesg') ? params.get('mesg') : visitorsCatalogue(),
    quiet: params.has('quiet'),
    sjis: params.has('sjis'),
  };

  // The current run: its decoders, the output not yet shown, and the typed lines not yet read.
  let run = null;

  // The page's state for the player and for tests: 'running', 'waiting' (for a typed line) or
  // 'ended' (the run is over; Enter starts a new one).
  function setState(state, text) {
    statusLine.dataset.state = state;
    statusLine.textContent = text;
  }

  function scrollToEnd() {
    terminal.scrollTop = terminal.scrollHeight;
  }

  // Program output goes into plain text nodes; everything else the page adds is a span with a
  // class, so the screen's text nodes alone are exactly what the program printed.
  function showOutput(text) {
    if (text) screen.appendChild(document.createTextNode(text));
  }

  function showNote(text, className) {
    const span = document.createElement('span');
    span.className = className;
    span.textContent = text;
    screen.appendChild(span);
  }

  // Decodes and shows the bytes written so far. The decoders stream, so a character whose bytes
  // straddle two writes is shown whole once its last byte has come.
  function flush(current) {
    const bytes = Uint8Array.from(current.pending);
    current.pending = [];
    if (current.pendingStream === 'stdout') {
      showOutput(current.stdout.decode(bytes, {stream: true}));
    } else if (bytes.length > 0) {
      showNote(current.stderr.decode(bytes, {stream: true}), 'stderr');
    }
    scrollToEnd();
  }

  function write(current, stream, byte) {
    if (current !== run) throw new Error('this run has ended');
    if (current.pendingStream !== stream) {
      flush(current);
      current.pendingStream = stream;
    }
    current.pending.push(byte);
  }

  // The program's standard input: the next typed line with its line feed, once there is one.
  function readInput(current) {
    setState('waiting', 'Type a line and press Enter.');
    flush(current);
    if (current.typed.length > 0) return Promise.resolve(current.typed.shift());
    return new Promise((resolve) => {
      current.waiting = resolve;
    });
  }

  function ended(current, status, reason) {
    if (current.over) return;
    current.over = true;
    flush(current);
    showOutput(current.stdout.decode());
    // A shell shows the status in 8 bits: the game's -1 is 255.
    const shown = reason ? 'hitblow stopped: ' + reason : 'exit status ' + (status & 255);
    showNote('[' + shown + ']\n', 'ended');
    setState('ended', shown + '. Press Enter (or New game) for a new game.');
    statusLine.dataset.exitStatus = reason ? 'abort' : String(status & 255);
    scrollToEnd();
  }

  // Fetches the message file that ?mesg= names. Only plain names are looked up; a name the site
  // doesn't have is still passed on, and the game itself reports that it can't open it.
  async function fetchMessageFile(path) {
    if (!/^messages\/[A-Za-z0-9_-]+\.txt$/.test(path)) return null;
    try {
      const response = await fetch(path);
      return response.ok ? new Uint8Array(await response.arrayBuffer()) : null;
    } catch (error) {
      return null;
    }
  }

  async function startGame() {
    screen.textContent = '';
    delete statusLine.dataset.exitStatus;
    setState('running', 'Starting...');
    const args = [];
    let messagePath = null;
    let messageBytes = null;
    if (options.mesg) {
      messagePath = 'messages/' + options.mesg + '.txt';
      messageBytes = await fetchMessageFile(messagePath);
      args.push('-mesg=' + messagePath);
    }
    if (options.sjis) args.push('-sjis');
    if (options.quiet) args.push('-quiet');

    const current = {
      stdout: new TextDecoder(options.mesg ? 'utf-8' : 'shift_jis'),
      stderr: new TextDecoder(options.mesg ? 'utf-8' : 'shift_jis'),
      pending: [],
      pendingStream: 'stdout',
      typed: [],
      waiting: null,
      over: false,
    };
    run = current;
    const module = {
      arguments: args,
      seed: freshSeed(),
      thisProgram: 'hitblow',
      preRun: [() => {
        if (messageBytes === null) return;
        module.FS.mkdir('/messages');
        module.FS.writeFile('/' + messagePath, messageBytes);
      }],
      // Input comes through readInput; the runtime's own stdin is never read.
      stdin: () => null,
      stdout: (byte) => write(current, 'stdout', byte),
      stderr: (byte) => write(current, 'stderr', byte),
      readInput: () => readInput(current),
      onExit: (status) => ended(current, status, null),
      onAbort: (what) => ended(current, 0, String(what)),
      print: (text) => console.log(text),
      printErr: (text) => console.warn(text),
    };
    createHitblow(module).catch((error) => ended(current, 0, String(error)));
  }

  // Each run draws its own seed (the program reads it in place of the clock, which has whole
  // seconds only): two games started within one second must not be the same game.
  function freshSeed() {
    return crypto.getRandomValues(new Uint32Array(1))[0];
  }

  function enter(text) {
    const current = run;
    if (current === null) return;
    if (current.over) {
      startGame();
      return;
    }
    // Echo the line, as a terminal does, right after what the program printed.
    flush(current);
    showNote(text + '\n', 'typed');
    scrollToEnd();
    const bytes = new TextEncoder().encode(text + '\n');
    if (current.waiting !== null) {
      const resolve = current.waiting;
      current.waiting = null;
      setState('running', '');
      resolve(bytes);
    } else {
      current.typed.push(bytes);
    }
  }

  typing.addEventListener('submit', (event) => {
    event.preventDefault();
    const text = line.value;
    line.value = '';
    enter(text);
  });

  // A run ends by exit(), which the runtime throws as a rejection once the program has resumed
  // from a wait; onExit has already shown it, so it is no error.
  window.addEventListener('unhandledrejection', (event) => {
    if (event.reason && event.reason.name === 'ExitStatus') event.preventDefault();
  });

  // The input line keeps the focus, except while the options above are being used.
  document.addEventListener('click', (event) => {
    if (!event.target.closest('header') && window.getSelection().isCollapsed) line.focus();
  });
  line.addEventListener('blur', (event) => {
    if (!event.relatedTarget || !event.relatedTarget.closest('header')) {
      setTimeout(() => {
        if (!document.activeElement || !document.activeElement.closest('header')) line.focus();
      }, 0);
    }
  });

  // The key pad: each key edits the input line at its caret as the keyboard would, and Enter
  // sends it, so the program gets exactly the lines a typist sends.
  function pressKey(key) {
    if (key === 'Enter') {
      typing.requestSubmit();
      return;
    }
    let start = line.selectionStart;
    const end = line.selectionEnd;
    if (key === 'Backspace') {
      if (start === end && start > 0) start -= 1;
      key = '';
    }
    line.setRangeText(key, start, end, 'end');
  }

  // On a touch screen (where the pad shows) the line calls up no soft keyboard while the pad is
  // used; tapping the line itself does. The pad never takes the focus from the line, so its
  // caret stays where the keys type.
  function setUpPad() {
    const pad = document.getElementById('pad');
    const touch = window.matchMedia('(pointer: coarse)');
    const padMode = () => {
      line.inputMode = touch.matches ? 'none' : '';
    };
    padMode();
    touch.addEventListener('change', padMode);
    line.addEventListener('pointerdown', () => {
      line.inputMode = '';
    });
    pad.addEventListener('mousedown', (event) => event.preventDefault());
    pad.addEventListener('click', (event) => {
      const button = event.target.closest('button[data-key]');
      if (!button) return;
      padMode();
      pressKey(button.dataset.key);
      line.focus();
    });
  }

  // Keeps the site for playing offline. Where the browser allows no service worker (a page not
  // served from https or from this machine) the game still plays, online only. Every visit asks
  // for sw.js anew, as browsers may put that off: a new site then replaces the cached one at
  // once. Offline that request fails, and the cached site plays on.
  function keepForOffline() {
    if (!('serviceWorker' in navigator)) return;
    navigator.serviceWorker.register('sw.js')
        .then((registration) => registration.update())
        .catch((error) => console.warn('hitblow offline: ' + error));
  }

  // Show the options in use in the form that starts the next game.
  const mesgChoice = document.getElementById('mesg');
  for (const catalogue of CATALOGUES) {
    const option = new Option(catalogue.name, catalogue.mesg);
    option.lang = catalogue.lang;
    mesgChoice.add(option);
  }
  const playing = CATALOGUES.find((c) => c.mesg === options.mesg);
  if (!playing) mesgChoice.add(new Option(options.mesg, options.mesg));
  mesgChoice.value = options.mesg;
  document.getElementById('quiet').checked = options.quiet;
  document.getElementById('sjis').checked = options.sjis;
  document.documentElement.lang = playing ? playing.lang : 'ja';

  setUpPad();
  keepForOffline();
  line.focus();
  startGame();
})();
