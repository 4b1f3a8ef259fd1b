// The program runner: one fresh run of the program (hitblow.js, hitblow.wasm) per game, as a
// console starts a process. Its output bytes are decoded as they come; the events the game
// reports (console/platform_web.cpp) arrive in their place in that text; each line handed over is
// what the program's standard input reads next. The program never blocks the page: it is
// suspended while it waits for a line.
//
// A second instance of the same program, which never runs main(), answers the page's questions
// with the game's own code (web/review.cpp, web/questions.js).
import {questionsOf} from './questions.js';

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

// The run's output as `on` receives it: write(stream, byte) takes each byte the program writes to
// 'stdout' or 'stderr'; flush() decodes and passes on the bytes written so far, a character whose
// bytes straddle two writes passed on whole once its last byte has come; end(status, reason)
// passes on the rest and the run's end, once.
function runOutput(run, encoding, on) {
  const decoders = {stdout: new TextDecoder(encoding), stderr: new TextDecoder(encoding)};
  let pending = [];
  let pendingStream = 'stdout';
  const flush = () => {
    const text = decoders[pendingStream].decode(Uint8Array.from(pending), {stream: true});
    pending = [];
    if (text) on[pendingStream === 'stdout' ? 'output' : 'error'](text);
  };
  return {
    flush,
    write: (stream, byte) => {
      if (run.over) throw new Error('this run has ended');
      if (pendingStream !== stream) {
        flush();
        pendingStream = stream;
      }
      pending.push(byte);
    },
    end: (status, reason) => {
      if (run.over) return;
      flush();
      const rest = decoders.stdout.decode();
      if (rest) on.output(rest);
      run.over = true;
      on.exit(status & 255, reason);  // as a shell shows it: the game's -1 is 255
    },
  };
}

// The run's input: gives `run` send(), takeTyped() and stop() (see startRun), and returns the
// program's readInput(), which yields the next line as bytes with its line feed.
function runInput(run, output, on) {
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
  return () => {
    if (run.over) return new Promise(() => {});  // a dropped run waits for ever
    output.flush();
    on.waiting();
    if (run.over) return new Promise(() => {});
    if (run.typed.length > 0) return Promise.resolve(handOver(run.typed.shift()));
    return new Promise((resolve) => {
      run.waiting = resolve;
    });
  };
}

// Starts a run with `options` {mesg, quiet, sjis} and `seed`; `lines` are typed ahead (a saved
// game replayed). `on` receives the run's events, each only while the run is the page's:
//   output(text), error(text)  decoded standard output and standard error;
//   event(number, values)      the game reports event `number` with `values` (game_state.js);
//   waiting()                  the program waits for a line (a queued one comes at once);
//   read(text)                 it gets the line `text`;
//   exit(status, reason)       the run is over: the exit status, or why it stopped.
// Returns the run: send(line) hands over a line (queued until the program asks for it),
// takeTyped() takes back the queued lines, stop() drops the run without a word.
export function startRun(options, seed, lines, on) {
  const run = {typed: lines.slice(), waiting: null, over: false};
  const output = runOutput(run, options.mesg ? 'utf-8' : 'shift_jis', on);
  const readInput = runInput(run, output, on);
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
      stdout: (byte) => output.write('stdout', byte),
      stderr: (byte) => output.write('stderr', byte),
      reportEvent: (number, values) => {
        if (run.over) return;
        output.flush();
        on.event(number, values);
      },
      readInput,
      onExit: (status) => output.end(status, null),
      onAbort: (what) => output.end(0, String(what)),
      print: (text) => console.log(text),
      printErr: (text) => console.warn(text),
    };
    // Either failing ends the run with its reason, so the page never waits for a program that
    // can't come.
    return Promise.all([programLoader(), compiledProgram()]).then(([create]) => create(module));
  }).catch((error) => output.end(0, String(error)));
  return run;
}

// The page's questions (questions.js), asked of an instance made once, on the first call.
let questions = null;
export function askQuestions() {
  if (questions === null) {
    questions = programLoader().then((create) => create({
      noInitialRun: true, instantiateWasm: instantiate, stdin: () => null, print: () => {},
      printErr: () => {}})).then(questionsOf).catch((error) => {
      questions = null;  // asked again next time
      throw error;
    });
  }
  return questions;
}
