// The program runner: one fresh run of the program (hitblow.js, hitblow.wasm) per game, as a
// console starts a process. Its output bytes are decoded as they come; the slots the game reports
// (console/platform_web.cpp) arrive in their place in that text; each line handed over is what the
// program's standard input reads next. The program never blocks the page: it is suspended while
// it waits for a line.
//
// A second instance of the same program, which never runs main(), answers the page's questions
// with the game's own code (web/review.cpp): the codes left after each row, the secret of a seed.
import {MAX_TURNS} from './game_constants.js';

// The program compiled once per page load; every run and the questions instantiate it anew. A
// server that doesn't call it application/wasm gets it compiled from its bytes instead. The fetch
// takes the response that index.html asked for from the start (its preload).
let compiled = null;
function compiledProgram() {
  if (compiled === null) {
    compiled = WebAssembly.compileStreaming(fetch('hitblow.wasm'))
                   .catch(() => fetch('hitblow.wasm')
                                    .then((response) => response.arrayBuffer())
                                    .then((bytes) => WebAssembly.compile(bytes)))
                   .catch((error) => {
                     compiled = null;
                     throw error;
                   });
  }
  return compiled;
}

// The program's loader (hitblow.js, which defines createHitblow), loaded beside the page's own
// modules rather than before them, so that the page draws while the program still downloads.
let loader = null;
function programLoader() {
  if (loader === null) {
    loader = new Promise((resolve, reject) => {
      const script = document.createElement('script');
      script.src = 'hitblow.js';
      script.onload = () => resolve(window.createHitblow);
      script.onerror = () => {
        loader = null;
        script.remove();
        reject(new Error('hitblow.js did not load'));
      };
      document.head.appendChild(script);
    });
  }
  return loader;
}
programLoader();
compiledProgram();

function instantiate(imports, receive) {
  compiledProgram()
      .then((module) => WebAssembly.instantiate(module, imports))
      .then((instance) => receive(instance));
  return {};
}

// Fetches a message file of the site; null when it can't. Only plain names are looked up: a
// name the site doesn't have is still passed on, and the game itself reports it can't open it.
async function fetchMessageFile(path) {
  if (!/^messages\/[A-Za-z0-9_-]+\.txt$/.test(path)) return null;
  try {
    const response = await fetch(path);
    return response.ok ? new Uint8Array(await response.arrayBuffer()) : null;
  } catch (error) {
    return null;
  }
}

// Starts a run with `options` {mesg, quiet, sjis} and `seed`; `lines` are typed ahead (a saved
// game replayed). `on` receives the run's events, each only while the run is the page's:
//   output(text), error(text)  decoded standard output and standard error;
//   slot(slot, values)         the game is about to print message slot `slot` with `values`;
//   waiting()                  the program waits for a line (a queued one comes at once);
//   read(text)                 it gets the line `text`;
//   exit(status, reason)       the run is over: the exit status, or why it stopped.
// Returns the run: send(line) hands over a line (queued until the program asks for it),
// takeTyped() takes back the queued lines, stop() drops the run without a word.
export function startRun(options, seed, lines, on) {
  const encoding = options.mesg ? 'utf-8' : 'shift_jis';
  const run = {
    stdout: new TextDecoder(encoding),
    stderr: new TextDecoder(encoding),
    pending: [],
    pendingStream: 'stdout',
    typed: lines.slice(),
    waiting: null,
    over: false,
  };

  // Decodes and passes on the bytes written so far; a character whose bytes straddle two writes
  // is passed on whole once its last byte has come.
  const flush = () => {
    const bytes = Uint8Array.from(run.pending);
    run.pending = [];
    if (run.pendingStream === 'stdout') {
      const text = run.stdout.decode(bytes, {stream: true});
      if (text) on.output(text);
    } else if (bytes.length > 0) {
      on.error(run.stderr.decode(bytes, {stream: true}));
    }
  };
  const write = (stream, byte) => {
    if (run.over) throw new Error('this run has ended');
    if (run.pendingStream !== stream) {
      flush();
      run.pendingStream = stream;
    }
    run.pending.push(byte);
  };
  const ended = (status, reason) => {
    if (run.over) return;
    flush();
    const rest = run.stdout.decode();
    if (rest) on.output(rest);
    run.over = true;
    on.exit(status & 255, reason);  // as a shell shows it: the game's -1 is 255
  };

  const handOver = (text) => {
    on.read(text);
    return new TextEncoder().encode(text + '\n');
  };
  run.send = (text) => {
    if (run.over) return;
    if (run.waiting === null) {
      run.typed.push(text);
      return;
    }
    const resolve = run.waiting;
    run.waiting = null;
    resolve(handOver(text));
  };
  run.takeTyped = () => run.typed.splice(0);
  run.stop = () => {
    run.over = true;
  };

  const args = [];
  const messagePath = options.mesg ? 'messages/' + options.mesg + '.txt' : null;
  if (messagePath) args.push('-mesg=' + messagePath);
  if (options.sjis) args.push('-sjis');
  if (options.quiet) args.push('-quiet');
  (messagePath ? fetchMessageFile(messagePath) : Promise.resolve(null)).then((messageBytes) => {
    if (run.over) return;
    const module = {
      arguments: args,
      seed: seed,
      thisProgram: 'hitblow',
      instantiateWasm: instantiate,
      preRun: [() => {
        if (messageBytes === null) return;
        module.FS.mkdir('/messages');
        module.FS.writeFile('/' + messagePath, messageBytes);
      }],
      // Input comes through readInput; the runtime's own stdin is never read.
      stdin: () => null,
      stdout: (byte) => write('stdout', byte),
      stderr: (byte) => write('stderr', byte),
      reportSlot: (slot, values) => {
        if (run.over) return;
        flush();
        on.slot(slot, values);
      },
      readInput: () => {
        if (run.over) return new Promise(() => {});  // a dropped run waits for ever
        flush();
        on.waiting();
        if (run.over) return new Promise(() => {});
        if (run.typed.length > 0) return Promise.resolve(handOver(run.typed.shift()));
        return new Promise((resolve) => {
          run.waiting = resolve;
        });
      },
      onExit: (status) => ended(status, null),
      onAbort: (what) => ended(0, String(what)),
      print: (text) => console.log(text),
      printErr: (text) => console.warn(text),
    };
    // Either failing ends the run with its reason, so the page never waits for a program that
    // can't come.
    return Promise.all([programLoader(), compiledProgram()]).then(([create]) => create(module));
  }).catch((error) => ended(0, String(error)));
  return run;
}

// The instance that answers the page's questions, made on the first one.
let questions = null;
function questionsInstance() {
  if (questions === null) {
    questions = programLoader().then((create) => create({
      noInitialRun: true, instantiateWasm: instantiate, stdin: () => null, print: () => {},
      printErr: () => {}}));
  }
  return questions;
}

// How many of the 5040 codes agree with the rows [{guess, score}] after each row, by the
// computer's own filter: one count per row. The score is 5 * hits + blows.
export async function codesLeft(rows) {
  const game = await questionsInstance();
  const board = game._hitblow_board() >> 2;
  const capacity = MAX_TURNS;  // the rows review.cpp's buffer holds: a game's turns at most
  const used = rows.slice(0, capacity);
  used.forEach((row, i) => {
    game.HEAP32[board + i] = row.guess;
    game.HEAP32[board + capacity + i] = row.score;
  });
  game._hitblow_codes_left(used.length);
  return Array.from(game.HEAP32.subarray(board + 2 * capacity, board + 2 * capacity + used.length));
}

// The computer's secret in the run with `seed`, drawn by the game's own start-up.
export async function secretOf(seed) {
  const game = await questionsInstance();
  game.seed = seed;
  return game._hitblow_secret();
}
