// The view: draws the game state, the page's words, the end card and the review; it decides
// nothing. The program's text goes into #screen as plain text nodes (what the player typed and
// the program's standard error are spans with a class), so that the screen's text nodes, with
// the pause line kept aside at the end, are exactly what the program printed.
import {scoreText} from './game_state.js';

const $ = (id) => document.getElementById(id);
const screen = $('screen');

// The keys that make sense while the game waits for each thing; Backspace and Enter always.
const PAD_KEYS = {
  guess: '1234567890?',
  answer: '01234HBX',
  confirm: 'YN',
  code: '1234567890',
};

// The scratchpad's marks of a digit, in the order a tap cycles through them, and each one's
// letter in a saved game's marks (a string, a letter a digit; a missing one is unknown).
export const MARKS = ['unknown', 'out', 'in'];
const MARK_LETTERS = 'uoi';

export function applyWords(words, lang) {
  document.documentElement.lang = lang;
  document.title = words.title;
  for (const el of document.querySelectorAll('[data-word]')) el.textContent = words[el.dataset.word];
  for (const el of document.querySelectorAll('[data-word-label]')) {
    el.setAttribute('aria-label', words[el.dataset.wordLabel]);
  }
  const list = $('rule-list');
  list.replaceChildren(...words.rules.map((text) => {
    const item = document.createElement('li');
    item.textContent = text;
    return item;
  }));
  for (const key of document.querySelectorAll('#pad [data-key]')) {
    const name = words.keyNames[key.dataset.key];
    if (!name) continue;
    const symbol = /^[A-Z?]$/.test(key.dataset.key);
    key.setAttribute('aria-label', symbol ? key.dataset.key + ' ' + name : name);
  }
}

export function clearScreen() {
  screen.textContent = '';
}

export function showOutput(text) {
  screen.appendChild(document.createTextNode(text));
  scrollToEnd();
}

export function showNote(text, className) {
  const span = document.createElement('span');
  span.className = className;
  span.textContent = text;
  screen.appendChild(span);
  scrollToEnd();
}

// The newest output in sight, also after the board above has grown.
export function scrollToEnd() {
  const box = $('remarks');
  box.scrollTop = box.scrollHeight;
}

// The remarks keep following the newest line when their box changes size (a phone turned on its
// side), unless the player has scrolled back to read. A size change only ever scrolls a box by
// clamping it to its end, so the scroll events tell the two apart.
export function followRemarks() {
  const box = $('remarks');
  let atEnd = true;
  box.addEventListener('scroll', () => {
    atEnd = box.scrollTop + box.clientHeight >= box.scrollHeight - 4;
  });
  new ResizeObserver(() => {
    if (atEnd) scrollToEnd();
  }).observe(box);
}

// At the closing pause: the program's Return prompt, `pause`, stays in the transcript but not
// in sight; the end card takes its place.
export function setPauseAside(pause) {
  const last = screen.lastChild;
  if (!last || last.nodeType !== Node.TEXT_NODE || !last.data.endsWith(pause)) return;
  last.data = last.data.slice(0, -pause.length);
  const kept = document.createElement('span');
  kept.hidden = true;
  kept.dataset.program = '';
  kept.textContent = pause;
  screen.appendChild(kept);
}

// A score {hits, blows} drawn as markers, a filled one a hit, a hollow one a blow, with its words
// for screen readers.
function scoreCell(attribute, score, words) {
  const cell = document.createElement('td');
  cell.dataset[attribute] = scoreText(score);
  const markers = document.createElement('span');
  markers.className = 'markers';
  markers.setAttribute('aria-hidden', 'true');
  if (score.hits === 0 && score.blows === 0) markers.textContent = '\u2013';
  for (let i = 0; i < score.hits; ++i) markers.appendChild(marker('hit'));
  for (let i = 0; i < score.blows; ++i) markers.appendChild(marker('blow'));
  const said = document.createElement('span');
  said.className = 'offscreen';
  said.textContent = words.score(score.hits, score.blows);
  cell.append(markers, said);
  return cell;
}

function marker(kind) {
  const dot = document.createElement('i');
  dot.className = kind;
  return dot;
}

function codeCell(attribute, text) {
  const cell = document.createElement('td');
  cell.className = 'code';
  if (text !== undefined) {
    cell.dataset[attribute] = text;
    cell.textContent = text;
  }
  return cell;
}

// One row a turn, the newest first and marked.
export function drawBoard(state, words) {
  const rows = state.rows.map((row, i) => {
    const tr = document.createElement('tr');
    tr.dataset.turn = String(i + 1);
    const turn = document.createElement('th');
    turn.scope = 'row';
    turn.textContent = String(i + 1);
    tr.append(turn, codeCell('guess', row.guess), scoreCell('score', row.score, words),
              codeCell('computerGuess', row.computerGuess));
    tr.append(row.answer === undefined ? document.createElement('td')
                                       : scoreCell('answer', row.answer, words));
    return tr;
  });
  rows.reverse();
  if (rows.length > 0) rows[0].className = 'newest';
  $('board').tBodies[0].replaceChildren(...rows);
}

// What the game waits for, in words, and the keys for it; `expected` is what the player's code
// gives (the score of the computer's guess, or the code it asks for), null when unknown.
export function drawPrompt(state, words, failed, expected) {
  const prompt = $('prompt');
  const waiting = state.waiting;
  const row = state.rows[state.rows.length - 1];
  let answer = row && row.computerGuess ? words.promptAnswer(row.computerGuess) : '';
  if (state.found()) answer = words.lastGuess(row.computerGuess);
  if (expected !== null && waiting === 'answer') answer += ' · ' + words.expected(expected);
  const texts = {
    guess: words.promptGuess,
    answer,
    confirm: words.promptConfirm,
    code: words.promptCode,
    end: failed ? words.failed : words.promptEnd,
  };
  prompt.textContent = waiting ? texts[waiting] : words.promptLoading;
  if (expected !== null && waiting) {
    prompt.dataset.expected = expected;
  } else {
    delete prompt.dataset.expected;
  }
  if (waiting) {
    prompt.dataset.waiting = waiting;
  } else {
    delete prompt.dataset.waiting;
  }
  if (waiting === 'answer' && row && row.computerGuess) {
    prompt.dataset.computerGuess = row.computerGuess;
  } else {
    delete prompt.dataset.computerGuess;
  }
  // While the program runs (a moment between two lines) the pad stays as it was.
  if (!waiting) return;
  const pad = $('pad');
  pad.dataset.waiting = waiting;
  const shown = PAD_KEYS[waiting] || '';
  for (const key of pad.querySelectorAll('[data-key]')) {
    const k = key.dataset.key;
    key.hidden = k !== 'Backspace' && k !== 'Enter' ? !shown.includes(k) : waiting === 'end';
  }
}

// Why the line typed was held back (session.js's refusal()), in place under the prompt; none
// for null.
export function showRefusal(refused, words) {
  const prompt = $('prompt');
  const reason = $('reason');
  if (refused) {
    prompt.dataset.refused = refused.kind;
  } else {
    delete prompt.dataset.refused;
  }
  const says = {
    differs: () => words.differs(refused.expected),
    form: () => words.readAs(refused.readAs),
    denied: () => words.denied(refused.wrong),
  };
  reason.textContent = !refused ? '' :
      says[refused.kind] ? says[refused.kind]() : words.refused[refused.kind];
  reason.hidden = !refused;
  // The reason takes room from the remarks: their newest line, which it answers, stays in sight.
  if (refused) scrollToEnd();
}

// Undo is there to use while a line can be taken back.
export function drawUndo(possible) {
  for (const button of document.querySelectorAll('[data-action="undo"]')) button.disabled = !possible;
}

// The scratchpad: each digit with its mark (`marks` as storage keeps them) and its name.
export function drawScratch(marks, words) {
  for (const toggle of document.querySelectorAll('#scratch [data-digit]')) {
    const digit = Number(toggle.dataset.digit);
    const mark = markOf(marks, digit);
    toggle.dataset.mark = mark;
    toggle.setAttribute('aria-label', digit + ': ' + words.marks[mark]);
  }
}

export function markOf(marks, digit) {
  return MARKS[Math.max(0, MARK_LETTERS.indexOf(marks[digit] || 'u'))];
}

// `marks` with the digit's mark moved on to the next one.
export function nextMark(marks, digit) {
  const letters = Array.from({length: 10}, (_, d) => MARK_LETTERS[MARKS.indexOf(markOf(marks, d))]);
  letters[digit] = MARK_LETTERS[(MARK_LETTERS.indexOf(letters[digit]) + 1) % MARK_LETTERS.length];
  return letters.join('');
}

// The question before something that can't be undone (`question`: abandon or forgetRecord), in
// the confirming sheet: the words `question`, `question`Yes and `question`No, and after the
// question `why` it is asked, when given. The button that agrees is never under `lastTap` (where
// the player's last tap was, {x, y}, or null) nor over the sheet's main button below (Start, Play
// again), where a second quick tap would land: the sheet moves to the top of the screen if it
// would be.
export function ask(question, words, why, lastTap) {
  const sheet = $('confirm');
  sheet.dataset.question = question;
  $('confirm-text').textContent = words[question] + (why ? ' ' + why : '');
  const agree = document.querySelector('#confirm [data-action="agree"]');
  agree.textContent = words[question + 'Yes'];
  document.querySelector('#confirm [data-action="keep"]').textContent = words[question + 'No'];
  delete sheet.dataset.place;
  showSheet('confirm', true);
  const mains = Array.from(document.querySelectorAll('.sheet:not(#confirm) .primary'))
                    .map((b) => b.getBoundingClientRect()).filter((r) => r.width > 0);
  const under = (r) => (lastTap && lastTap.x >= r.left && lastTap.x <= r.right &&
                        lastTap.y >= r.top && lastTap.y <= r.bottom) ||
      mains.some((m) => m.left < r.right && r.left < m.right &&
                        m.top < r.bottom && r.top < m.bottom);
  if (under(agree.getBoundingClientRect())) sheet.dataset.place = 'top';
  document.querySelector('#confirm [data-action="keep"]').focus();
}

// Start reads Resume when it goes back to a game under way.
export function drawStart(resumes, words) {
  const start = document.querySelector('#rules [data-action="start"]');
  start.dataset.word = resumes ? 'resume' : 'start';
  start.textContent = words[start.dataset.word];
}

// Today's game: its record (storage.js's daily()) and its buttons, which say when the next one
// comes once today's has ended (`next`: [hours, minutes], or null while it can be played).
export function drawDaily(record, next, words) {
  const box = $('daily');
  words.dailyLine(record).forEach((text, i) => {
    const key = ['played', 'won', 'streak', 'best'][i];
    const span = box.querySelector('[data-' + key + ']');
    span.dataset[key] = String(record[key]);
    span.textContent = text;
  });
  for (const button of document.querySelectorAll('[data-action="daily"]')) {
    button.disabled = next !== null;
    button.textContent = next ? words.dailyNext(...next) : words.daily;
  }
}

// A short notice on the end card (what sharing did), or none for ''.
export function notice(text) {
  $('notice').textContent = text;
}

export function announce(text) {
  $('announce').textContent = text;
}

export function drawRecord(record, average, words) {
  for (const el of document.querySelectorAll('[data-record]')) {
    el.textContent = words.recordLine(record, average);
  }
}

export function showSheet(id, shown) {
  $(id).hidden = !shown;
  document.body.classList.toggle('sheet-' + id, shown);
}

// The end card: who won, in how many turns, the computer's code once the game has shown it (the
// contradiction dialog doesn't: the card offers to reveal it), and after the contradiction
// dialog why; a failed start shows only that it failed. Today's game (`daily`) says so, and
// offers its card to share.
export function showResult(state, words, failed, daily = false) {
  const card = $('result');
  const reason = $('result-reason');
  const wrong = state.contradiction && state.contradiction.wrong;
  reason.textContent = failed || !state.contradiction ? '' :
      wrong && wrong.should ? words.wrongAnswer(wrong.turn, wrong.guess, wrong.said, wrong.should) :
                              words.contradiction;
  reason.hidden = !reason.textContent;
  if (wrong && wrong.should) {
    card.dataset.wrong = wrong.said;
    card.dataset.should = wrong.should;
  } else {
    delete card.dataset.wrong;
    delete card.dataset.should;
  }
  if (failed) {
    delete card.dataset.result;
    delete card.dataset.secret;
    $('result-title').textContent = words.failed;
    $('result-detail').textContent = '';
  } else {
    card.dataset.result = state.result;
    $('result-title').textContent = words[state.result];
    const detail = daily ? [words.daily, words.turns(state.rows.length)]
                         : [words.turns(state.rows.length)];
    if (state.secret !== null) {
      card.dataset.secret = state.secret;
      detail.push(words.secret(state.secret));
    } else {
      delete card.dataset.secret;
    }
    $('result-detail').textContent = detail.join(' · ');
  }
  document.querySelector('#result [data-action="share"]').hidden = failed || !daily;
  document.querySelector('#result [data-action="reveal"]').hidden = failed || state.secret !== null;
  notice('');
  $('review').hidden = true;
  showSheet('rules', false);
  showSheet('result', true);
  placeResult();
}

// On the end card: the player's answers contradict each other, `wrong` the first one their code
// shows wrong ({turn, guess, said, should}, or null when the page doesn't know their code).
export function flagAnswers(wrong, words) {
  const reason = $('result-reason');
  reason.textContent = wrong ? words.wrongAnswer(wrong.turn, wrong.guess, wrong.said, wrong.should)
                             : words.contradiction;
  reason.hidden = false;
  placeResult();
}

// The end card leaves the board's newest row in sight: it ends above the bottom of the screen and
// starts below that row, scrolling within itself if it must.
export function placeResult() {
  const card = $('result');
  const newest = document.querySelector('#board tr.newest');
  card.style.maxHeight = '';
  if (card.hidden || !newest) return;
  const below = Math.max(newest.getBoundingClientRect().bottom, 0) + 4;
  const drawn = card.getBoundingClientRect();
  card.style.maxHeight = Math.max(0, Math.min(drawn.height, drawn.bottom - below)) + 'px';
}

// The review: after each turn, how many codes were still possible for each side, as bars on a
// logarithmic scale (1 to 5040); the first turn after which only one was left is marked.
export function drawReview(computerLeft, playerLeft, words) {
  const figure = $('review');
  figure.dataset.computerLeft = computerLeft.join(',');
  figure.dataset.playerLeft = playerLeft.join(',');
  const sides = {computer: computerLeft, player: playerLeft};
  for (const side of figure.querySelectorAll('[data-side]')) {
    const counts = sides[side.dataset.side];
    const one = counts.indexOf(1);
    const bars = counts.map((count, i) => {
      const item = document.createElement('li');
      const bar = document.createElement('span');
      bar.className = 'bar';
      bar.style.height = Math.max(6, 100 * Math.log(count + 1) / Math.log(5041)) + '%';
      const label = document.createElement('span');
      label.className = 'count';
      label.textContent = words.number(count);
      item.append(bar, label);
      if (i === one) {
        item.className = 'one';
        item.title = words.oneLeft(i + 1);
        const note = document.createElement('span');
        note.className = 'offscreen';
        note.textContent = words.oneLeft(i + 1);
        item.append(note);
      }
      return item;
    });
    side.querySelector('.bars').replaceChildren(...bars);
  }
  figure.hidden = false;
  placeResult();
}
