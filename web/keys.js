// The keys: the keyboard types into the input line as usual, and on a touch screen the key pad
// under it edits the same line at its caret, so the program gets exactly the lines a typist
// sends. `onLine(text)` receives each line sent with Enter, and returns false to keep it in the
// line (held back, to be mended).
const line = document.getElementById('line');
const typing = document.getElementById('typing');
const pad = document.getElementById('pad');

// The most the pad types for what the game waits for (the pad's data-waiting): a code's four
// digits, a score's four characters (1H2B), one letter for Y or N.
const PAD_LENGTH = {guess: 4, answer: 4, code: 4, confirm: 1};

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
  const most = PAD_LENGTH[pad.dataset.waiting];
  if (most !== undefined && line.value.length - (end - start) + key.length > most) return;
  line.setRangeText(key, start, end, 'end');
  line.dispatchEvent(new Event('input'));  // an edit, as the keyboard's would be
}

// Fills the line with `text`, selected, so that Enter sends it and the first key typed replaces
// it.
export function offerLine(text) {
  line.value = text;
  line.select();
}

// Whether the line should hold the focus: not while a sheet (rules, end card, question) is open
// or a control of the page is in use.
function lineMayFocus() {
  return !document.querySelector('.sheet:not([hidden])');
}

export function focusLine() {
  if (lineMayFocus()) line.focus({preventScroll: true});
}

export function setUpKeys(onLine) {
  typing.addEventListener('submit', (event) => {
    event.preventDefault();
    const text = line.value;
    line.value = '';
    if (onLine(text) === false) line.value = text;
  });

  // On a touch screen (where the pad shows) the line calls up no soft keyboard while the pad is
  // used; tapping the line itself does. The pad never takes the focus from the line, so its
  // caret stays where the keys type.
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
    focusLine();
  });

  // A tap on the remarks or the board gives the line back its focus, unless text is selected.
  document.querySelector('main').addEventListener('click', () => {
    if (window.getSelection().isCollapsed) focusLine();
  });
}
