// Today's game: the same game for everyone on the same local date, wherever and whenever it is
// played, online or not. Its seed comes from the date alone, so the computer's code and its first
// guess (everything the run's random draw decides) are the date's.
//
// dailySeed() is fixed for good: a change would give a day two different games, one before and
// one after the site updated, and the streaks of the players on either side would no longer
// compare.

// The local date of `when` as 'YYYY-MM-DD'.
export function localDate(when) {
  const two = (n) => String(n).padStart(2, '0');
  return when.getFullYear() + '-' + two(when.getMonth() + 1) + '-' + two(when.getDate());
}

// The day before `date` ('YYYY-MM-DD').
export function dayBefore(date) {
  const [y, m, d] = date.split('-').map(Number);
  return localDate(new Date(y, m - 1, d - 1));
}

// The run's seed for the daily game of `date` ('YYYY-MM-DD'): the 32-bit FNV-1a hash of the
// date's ten ASCII characters (offset basis 2166136261, prime 16777619), as an unsigned integer.
// Never change it (see above).
export function dailySeed(date) {
  let hash = 2166136261;
  for (let i = 0; i < date.length; ++i) hash = Math.imul(hash ^ date.charCodeAt(i), 16777619);
  return hash >>> 0;
}

// The hours and minutes from `now` to the next local midnight, when the next daily game comes:
// [hours, minutes], the minutes rounded up.
export function untilTomorrow(now) {
  const midnight = new Date(now.getFullYear(), now.getMonth(), now.getDate() + 1);
  const minutes = Math.max(1, Math.ceil((midnight - now) / 60000));
  return [Math.floor(minutes / 60), minutes % 60];
}

// The spoiler-free card of a daily game: its heading (`title`, from the page's words, with the
// date, result and turns), then one line a turn with the score {hits, blows} of the player's
// guess as ● for each hit and ○ for each blow (– for neither). No digit of any code.
export function shareCard(title, scores) {
  const line = ({hits, blows}) => (hits + blows === 0 ? '–' : '●'.repeat(hits) + '○'.repeat(blows));
  return [title].concat(scores.map(line)).join('\n');
}
