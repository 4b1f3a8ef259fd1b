// What the page keeps on this device (localStorage): the game in progress, as its run's seed,
// options and the lines typed so far (replayed into a fresh run, they give the same game), with
// the scratchpad's marks; the record of games played; whether the rules have been seen; the
// player's code, when they let the page check their answers; today's game's own record. A stored
// value that doesn't parse reads as none, and storage that is full or forbidden keeps nothing,
// without an error.

import {dayBefore} from './daily.js';

const GAME = 'hitblow.game';
const RECORD = 'hitblow.record';
const SEEN = 'hitblow.seen';
const CODE = 'hitblow.code';
const DAILY = 'hitblow.daily';

function read(key) {
  try {
    return JSON.parse(localStorage.getItem(key));
  } catch (error) {
    return null;
  }
}

function write(key, value) {
  try {
    if (value === null) {
      localStorage.removeItem(key);
    } else {
      localStorage.setItem(key, JSON.stringify(value));
    }
  } catch (error) {
    // Private browsing or a full store: the page plays on, keeping nothing.
  }
}

const isCount = (n) => Number.isInteger(n) && n >= 0;

// The saved game {seed, mesg, quiet, lines, marks, daily}, or null when there is none that
// parses; marks (the scratchpad's, a string) that don't parse read as none, and so does a daily
// (the date of today's game, 'YYYY-MM-DD', when the game is that one).
export function savedGame() {
  const game = read(GAME);
  const valid = game !== null && typeof game === 'object' && isCount(game.seed) &&
                game.seed < 2 ** 32 && typeof game.mesg === 'string' &&
                typeof game.quiet === 'boolean' && Array.isArray(game.lines) &&
                game.lines.every((line) => typeof line === 'string');
  if (valid && typeof game.marks !== 'string') game.marks = '';
  if (valid && !isDate(game.daily)) game.daily = null;
  return valid ? game : null;
}

export function saveGame(game) {
  write(GAME, game);
}

export function dropGame() {
  write(GAME, null);
}

const NO_RECORD = {played: 0, won: 0, lost: 0, drawn: 0, winTurns: 0};

// The record {played, won, lost, drawn, winTurns}; a fresh one when none parses.
export function record() {
  const r = read(RECORD);
  const valid = r !== null && typeof r === 'object' &&
                Object.keys(NO_RECORD).every((key) => isCount(r[key])) &&
                r.won + r.lost + r.drawn === r.played;
  return valid ? r : {...NO_RECORD};
}

// Counts one finished game: `result` win, loss or draw, in `turns` turns.
export function countGame(result, turns) {
  const r = record();
  r.played += 1;
  if (result === 'win') {
    r.won += 1;
    r.winTurns += turns;
  } else if (result === 'loss') {
    r.lost += 1;
  } else {
    r.drawn += 1;
  }
  write(RECORD, r);
  return r;
}

// Takes back the count of a game that countGame() counted: it was taken back from its end.
export function uncountGame(result, turns) {
  const r = record();
  const kind = {win: 'won', loss: 'lost', draw: 'drawn'}[result];
  if (r.played === 0 || r[kind] === 0) return r;
  r.played -= 1;
  r[kind] -= 1;
  if (result === 'win') r.winTurns = Math.max(0, r.winTurns - turns);
  write(RECORD, r);
  return r;
}

export function clearRecord() {
  write(RECORD, null);
}

// The average turns of the games won, one decimal, or '' before the first win.
export function averageWinTurns(r) {
  return r.won > 0 ? (r.winTurns / r.won).toFixed(1) : '';
}

export function rulesSeen() {
  return read(SEEN) === true;
}

export function markRulesSeen() {
  write(SEEN, true);
}

// The player's code as they typed it on this device, or ''.
export function myCode() {
  const code = read(CODE);
  return typeof code === 'string' ? code : '';
}

export function setMyCode(code) {
  write(CODE, code || null);
}

const isDate = (d) => typeof d === 'string' && /^\d{4}-\d\d-\d\d$/.test(d);
const NO_DAILY = {played: 0, won: 0, streak: 0, best: 0, lastWon: null, ended: null,
                  before: null};

function dailyRecord() {
  const r = read(DAILY);
  const valid = r !== null && typeof r === 'object' &&
                ['played', 'won', 'streak', 'best'].every((key) => isCount(r[key])) &&
                r.won <= r.played && r.streak <= r.best &&
                (r.lastWon === null || isDate(r.lastWon)) &&
                (r.ended === null || isDate(r.ended));
  return valid ? r : {...NO_DAILY};
}

// Today's game's record as of `today`: {played, won, streak, best, ended}, where the streak is
// the run of won days that ends today or yesterday (a day missed or lost ends it) and `ended` is
// the date of the last daily game that ended.
export function daily(today) {
  const r = dailyRecord();
  const alive = r.lastWon === today || r.lastWon === dayBefore(today);
  return {played: r.played, won: r.won, streak: alive ? r.streak : 0, best: r.best, ended: r.ended};
}

// Counts the daily game of `date` once it ends (or is abandoned, as a loss): its result `result`
// (win, loss or draw). One count a date; the record as it was before is kept, for undoDaily().
export function countDaily(date, result) {
  const r = dailyRecord();
  if (r.ended === date) return;
  const before = {...r, before: null};
  const won = result === 'win';
  const streak = won ? (r.lastWon === dayBefore(date) ? r.streak + 1 : 1) : 0;
  write(DAILY, {played: r.played + 1, won: r.won + (won ? 1 : 0), streak,
                best: Math.max(r.best, streak), lastWon: won ? date : r.lastWon, ended: date,
                before});
}

// Takes back the count of the daily game of `date`: it was taken back from its end.
export function uncountDaily(date) {
  const r = dailyRecord();
  if (r.ended === date && r.before) write(DAILY, r.before);
}

