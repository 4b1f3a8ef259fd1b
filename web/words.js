// The page's own words, one table per language: everything the page says around the program,
// whose words come from its message file. Every table has every key (a test checks it); a
// language's `name` is that language named in itself, as the language menu shows it. Texts that
// take numbers are functions. The page speaks of "you" (the player) and "the computer", never of
// "I", since the computer's remarks beside it say "I" too; its word for a secret code is the
// catalogue's.

// Numbers as the language writes them (a decimal comma in Russian and Spanish); `decimal` gives
// one decimal.
function numberIn(lang, n, decimal = false) {
  const digits = decimal ? 1 : 0;
  return new Intl.NumberFormat(lang, {minimumFractionDigits: digits, maximumFractionDigits: digits})
      .format(n);
}

// Every counted word, for the test that each has a form for every plural category its language
// gives the page's numbers.
export const COUNTED = [];

// A number with its word in the form the language's plural rules choose: `forms` holds one text
// for each category ('one', 'few', 'many', 'other'), in which '#' stands for the number.
function counted(lang, forms) {
  COUNTED.push({lang, forms});
  return (n, decimal = false) => {
    const digits = decimal ? 1 : 0;
    const rules = new Intl.PluralRules(lang, {minimumFractionDigits: digits,
                                              maximumFractionDigits: digits});
    return (forms[rules.select(n)] || forms.other).replace('#', numberIn(lang, n, decimal));
  };
}

const EN = {
  n: (n) => numberIn('en', n),
  turn: counted('en', {one: '# turn', other: '# turns'}),
  hit: counted('en', {one: '# hit', other: '# hits'}),
  blow: counted('en', {one: '# blow', other: '# blows'}),
};
const JA = {n: (n) => numberIn('ja', n)};
const KO = {n: (n) => numberIn('ko', n)};
const ZH_HANS = {n: (n) => numberIn('zh-Hans', n)};
const ZH_HANT = {n: (n) => numberIn('zh-Hant', n)};
const RU = {
  n: (n) => numberIn('ru', n),
  move: counted('ru', {one: '# ход', few: '# хода', many: '# ходов', other: '# хода'}),
  bull: counted('ru', {one: '# бык', few: '# быка', many: '# быков', other: '# быка'}),
  cow: counted('ru', {one: '# корова', few: '# коровы', many: '# коров', other: '# коровы'}),
};
const ES = {
  n: (n) => numberIn('es', n),
  turn: counted('es', {one: '# turno', other: '# turnos'}),
  hit: counted('es', {one: '# fija', other: '# fijas'}),
  blow: counted('es', {one: '# pica', other: '# picas'}),
  played: counted('es', {one: '# partida jugada', other: '# partidas jugadas'}),
  won: counted('es', {one: '# ganada', other: '# ganadas'}),
  lost: counted('es', {one: '# perdida', other: '# perdidas'}),
  drawn: counted('es', {one: '# empatada', other: '# empatadas'}),
};

export const WORDS = {
  en: {
    name: 'English',
    title: 'Hits and Blows',
    howToPlay: 'How to play',
    rules: [
      'Think of a secret code of four different digits, such as 5079, and keep it: write it down.',
      'You and the computer take turns guessing each other\'s code.',
      'A hit is a right digit in the right place; a blow is a right digit in the wrong place.',
      'Example: against 5079 the guess 1570 scores 1H2B: 7 is a hit, 5 and 0 are blows. ' +
          'X means no hit and no blow.',
      'On the board a filled dot is a hit and a hollow dot a blow.',
      'When the computer guesses, score its guess against your code: 1H2B, 2H, 3B or X.',
      'Four hits wins; both sides at once is a draw.',
      'The computer thinks aloud as it closes in.',
    ],
    start: 'Start',
    language: 'Language',
    thinksAloud: 'The computer thinks aloud',
    newGame: 'New game',
    board: 'Board',
    turn: 'Turn',
    yourGuess: 'Your guess',
    itsScore: 'Score',
    computerGuess: 'Computer\'s guess',
    yourAnswer: 'Your answer',
    remarks: 'The computer\'s remarks',
    line: 'Your line',
    keys: 'Keys',
    score: (h, b) => (h + b === 0 ? 'no hit, no blow' : EN.hit(h) + ', ' + EN.blow(b)),
    promptGuess: 'Your guess: four different digits',
    promptAnswer: (code) => 'Score the computer\'s guess ' + code,
    promptConfirm: 'Are your answers right? Y or N',
    promptCode: 'Type your secret code',
    promptEnd: 'The game is over',
    promptLoading: 'Loading…',
    win: 'You win!',
    loss: 'The computer wins!',
    draw: 'A draw!',
    failed: 'The game could not start.',
    turns: (n) => 'In ' + EN.turn(n),
    secret: (code) => 'The computer\'s code was ' + code,
    playAgain: 'Play again',
    announce: (n, guess, score, computer) => 'Turn ' + EN.n(n) + ': ' + guess + ', ' + score +
                                             '. The computer guesses ' + computer + '.',
    abandon: 'Abandon the game in progress?',
    abandonYes: 'Abandon it',
    abandonNo: 'Keep playing',
    record: 'Your record on this device: ',
    recordLine: (r, avg) => EN.n(r.played) + ' played, ' + EN.n(r.won) + ' won, ' +
                            EN.n(r.lost) + ' lost, ' + EN.n(r.drawn) + ' drawn' +
                            (avg ? '; ' + EN.turn(Number(avg), true) + ' a win' : ''),
    clearRecord: 'Clear the record',
    review: 'How both sides closed in',
    computerLeft: 'Codes left for the computer',
    playerLeft: 'Codes left for you',
    oneLeft: (n) => 'One left after turn ' + EN.n(n),
    keyNames: {H: 'hits', B: 'blows', X: 'no hit, no blow', '?': 'history', Y: 'yes', N: 'no',
               Backspace: 'delete', Enter: 'Enter'},
    // Undo, the checked answers, the scratchpad and the endings that say why.
    undo: 'Undo',
    myCode: 'Your code (only this device keeps it), so the page can check your answers',
    scratch: 'Scratchpad: the digits of the computer\'s code',
    marks: {unknown: 'not marked', out: 'not in it', in: 'in it'},
    refused: {
      tooMany: 'A score has at most 4 hits and blows together.',
      threeOne: '3H1B can\'t happen: with three digits in place, the fourth has only its own place left.',
      negative: 'Hits and blows are never negative.',
      notCode: 'A code is four different digits, such as 5079.',
      yesOrNo: 'Answer Y or N.',
    },
    differs: (score) => 'Your code gives ' + score + '. To send your answer anyway, press ⏎ again.',
    expected: (score) => 'your code gives ' + score,
    lastGuess: (code) => 'You found the computer\'s code! Its last guess, for a draw: score ' + code,
    contradiction: 'Your answers contradict each other: no code fits them all.',
    wrongAnswer: (turn, guess, said, should) =>
        'Turn ' + turn + ': you scored ' + guess + ' as ' + said + ', but it was ' + should + '.',
    forgetRecord: 'Clear the record of every game on this device?',
    forgetRecordYes: 'Clear it',
    forgetRecordNo: 'Keep it',
    // Resuming, today's game and its card, and why a question would end a game.
    resume: 'Resume',
    daily: 'Today\'s game',
    dailyNext: (h, m) => 'Next daily game in ' + EN.n(h) + ' h ' + EN.n(m) + ' min',
    dailyRecord: 'Today\'s games: ',
    dailyLine: (r) => ['played ' + EN.n(r.played), 'won ' + EN.n(r.won),
                       'streak ' + EN.n(r.streak), 'best ' + EN.n(r.best)],
    share: 'Share',
    shareTitle: (date, result, turns) => 'Hits and Blows, today\'s game ' + date + ': ' +
                                         {win: 'won', loss: 'lost', draw: 'drawn'}[result] +
                                         ' in ' + EN.turn(turns),
    shared: 'Copied: paste it wherever you like.',
    notShared: 'This browser could not share it. Copy it from here:',
    abandonWhy: {
      newGame: 'A new game starts.',
      language: 'Another language starts a new game.',
      aloud: 'Thinking aloud or not starts a new game.',
      daily: 'Today\'s game starts in its place.',
    },
    dailyLoss: 'Today\'s game, left now, counts as lost.',
    // Answers the game would misread, N at its question, and the code shown at the player's asking.
    readAs: (score) => 'Score as X, 2H, 3B or 1H2B' +
                       (score ? ': the game would read this as ' + score + '.' : '.'),
    denied: (wrong) => 'N ends the game as the computer\'s win' +
                       (wrong ? ': at turn ' + EN.n(wrong.turn) + ' you scored ' + wrong.guess +
                                    ' as ' + wrong.said + ', your code gives ' + wrong.should
                              : '') +
                       '. Undo takes back your last answer; N again ends the game.',
    reveal: 'Show the computer\'s code',
    number: EN.n,
  },
  ja: {
    name: '日本語',
    title: 'ヒット・アンド・ブロー',
    howToPlay: '遊び方',
    rules: [
      '4桁の答えを決めてください。数字はすべて違うもの（例: 5079）。忘れないようにメモしておきましょう。',
      'あなたとコンピューターが交互に相手の数を予想します。',
      'ヒットは数字も位置も合っているもの、ブローは数字は合っているが位置が違うものです。',
      '例: 5079 に 1570 と予想すると 1H2B。7 がヒット、5 と 0 がブロー。どれも合わなければ X です。',
      '対戦表では、塗りつぶした丸がヒット、白抜きの丸がブローです。',
      'コンピューターが予想を言ったら、あなたの答えと比べて 1H2B、2H、3B、X のように判定します。',
      '4ヒットで勝ち。同じ回に両方そろえば引き分けです。',
      'コンピューターは考えていることを口に出します。',
    ],
    start: 'はじめる',
    language: '言語',
    thinksAloud: 'コンピューターが考えを口に出す',
    newGame: '新しいゲーム',
    board: '対戦表',
    turn: '回',
    yourGuess: 'あなたの予想',
    itsScore: '結果',
    computerGuess: 'コンピューターの予想',
    yourAnswer: 'あなたの判定',
    remarks: 'コンピューターのひとこと',
    line: '入力',
    keys: 'キー',
    score: (h, b) => (h + b === 0 ? 'ノーヒット・ノーブロー'
                                  : JA.n(h) + 'ヒット ' + JA.n(b) + 'ブロー'),
    promptGuess: 'あなたの番: 違う数字4つで予想',
    promptAnswer: (code) => 'コンピューターの予想 ' + code + ' は何ヒット何ブロー？',
    promptConfirm: '判定は本当に正しいですか？ Y か N',
    promptCode: 'あなたの答えを入力',
    promptEnd: 'ゲーム終了',
    promptLoading: '読み込み中…',
    win: 'あなたの勝ち！',
    loss: 'コンピューターの勝ち！',
    draw: '引き分け！',
    failed: 'ゲームを始められませんでした。',
    turns: (n) => JA.n(n) + '回で決着',
    secret: (code) => 'コンピューターの答えは ' + code,
    playAgain: 'もう一度',
    announce: (n, guess, score, computer) => JA.n(n) + '回目: ' + guess + '、' + score +
                                             '。コンピューターの予想は ' + computer + '。',
    abandon: '進行中のゲームをやめますか？',
    abandonYes: 'やめる',
    abandonNo: '続ける',
    record: 'この端末での成績：',
    recordLine: (r, avg) => JA.n(r.played) + '戦 ' + JA.n(r.won) + '勝 ' + JA.n(r.lost) + '敗 ' +
                            JA.n(r.drawn) + '分' +
                            (avg ? '、勝ちは平均 ' + numberIn('ja', Number(avg), true) + '回' : ''),
    clearRecord: '成績を消す',
    review: '両者の絞り込み',
    computerLeft: 'コンピューターに残った候補',
    playerLeft: 'あなたに残った候補',
    oneLeft: (n) => JA.n(n) + '回目で残り1つ',
    keyNames: {H: 'ヒット', B: 'ブロー', X: 'ノーヒット・ノーブロー', '?': '履歴', Y: 'はい',
               N: 'いいえ', Backspace: '1文字消す', Enter: '決定'},
    // 取り消し、判定の確認、メモ、終わり方の説明。
    undo: '元に戻す',
    myCode: 'あなたの答え（この端末にだけ保存）。入れておくと判定を確かめます',
    scratch: 'メモ: コンピューターの答えに使われている数字',
    marks: {unknown: '未確認', out: '入っていない', in: '入っている'},
    refused: {
      tooMany: 'ヒットとブローは合わせて4つまでです。',
      threeOne: '3H1B はありえません。3つが位置まで合えば、残る1つは空いた位置にしか入りません。',
      negative: 'ヒットやブローがマイナスになることはありません。',
      notCode: '違う数字4つを入力してください（例: 5079）。',
      yesOrNo: 'Y か N を入力してください。',
    },
    differs: (score) => 'あなたの答えなら ' + score + ' のはずです。このまま送るなら、もう一度 ⏎ を押してください。',
    expected: (score) => 'あなたの答えなら ' + score,
    lastGuess: (code) => 'コンピューターの答えを当てました！ 引き分けをかけた最後の予想 ' + code + ' を判定してね',
    contradiction: 'あなたの判定どうしが食い違っていて、当てはまる答えがありません。',
    wrongAnswer: (turn, guess, said, should) =>
        turn + '回目の ' + guess + ' への判定 ' + said + ' が違っていました。正しくは ' + should + ' です。',
    forgetRecord: 'この端末の成績をすべて消しますか？',
    forgetRecordYes: '消す',
    forgetRecordNo: '残す',
    // 再開、今日の一局とその共有、ゲームが終わる理由。
    resume: '再開',
    daily: '今日の一局',
    dailyNext: (h, m) => '次の一局まで ' + JA.n(h) + '時間' + JA.n(m) + '分',
    dailyRecord: '今日の一局の成績：',
    dailyLine: (r) => [JA.n(r.played) + '局', JA.n(r.won) + '勝', '連勝 ' + JA.n(r.streak),
                       '最高 ' + JA.n(r.best)],
    share: '共有',
    shareTitle: (date, result, turns) => 'ヒット・アンド・ブロー 今日の一局 ' + date + ' ' +
                                         {win: '勝ち', loss: '負け', draw: '引き分け'}[result] +
                                         '（' + JA.n(turns) + '回）',
    shared: 'コピーしました。好きな所に貼りつけてください。',
    notShared: 'このブラウザーでは共有できませんでした。ここからコピーしてください：',
    abandonWhy: {
      newGame: '新しいゲームが始まります。',
      language: '言語を変えると新しいゲームになります。',
      aloud: '考えを口に出すかどうかを変えると新しいゲームになります。',
      daily: '代わりに今日の一局が始まります。',
    },
    dailyLoss: '今日の一局は、ここでやめると負けになります。',
    // 読み違えられる判定、問いへの N、求めに応じて見せる答え。
    readAs: (score) => 'X、2H、3B、1H2B の形で判定してください' +
                       (score ? '。このままでは ' + score + ' と読まれます。' : '。'),
    denied: (wrong) => 'N と答えるとコンピューターの勝ちで終わります' +
                       (wrong ? '。' + JA.n(wrong.turn) + '回目の ' + wrong.guess + ' への判定 ' +
                                    wrong.said + ' は、あなたの答えなら ' + wrong.should + ' です'
                              : '') +
                       '。「元に戻す」で判定を取り消せます。もう一度 N で終了します。',
    reveal: 'コンピューターの答えを見る',
    number: JA.n,
  },
  ko: {
    name: '한국어',
    title: '숫자야구',
    howToPlay: '게임 방법',
    rules: [
      '중복 없는 네 자리 비밀 숫자를 하나 정하고(예: 5079) 잊지 않게 적어 두세요.',
      '플레이어와 컴퓨터가 번갈아 가며 상대의 숫자를 맞힙니다.',
      '스트라이크(H)는 숫자와 자리가 모두 맞은 것, 볼(B)은 숫자는 맞지만 자리가 다른 것입니다.',
      '예: 5079에 1570이라고 하면 1H2B. 7이 스트라이크, 5와 0이 볼입니다. 하나도 안 맞으면 X(아웃).',
      '기록판에서 채운 동그라미는 스트라이크, 빈 동그라미는 볼입니다.',
      '컴퓨터가 숫자를 부르면 자기 숫자와 비교해서 1H2B, 2H, 3B, X처럼 답합니다.',
      '스트라이크 네 개면 승리, 같은 회에 둘 다 맞히면 무승부입니다.',
      '컴퓨터는 생각하는 것을 소리 내어 말합니다.',
    ],
    start: '시작',
    language: '언어',
    thinksAloud: '컴퓨터가 생각을 말함',
    newGame: '새 게임',
    board: '기록판',
    turn: '회',
    yourGuess: '플레이어 추측',
    itsScore: '결과',
    computerGuess: '컴퓨터 추측',
    yourAnswer: '플레이어 대답',
    remarks: '컴퓨터의 말',
    line: '입력',
    keys: '키',
    score: (h, b) => (h + b === 0 ? '아웃' : '스트라이크 ' + KO.n(h) + ', 볼 ' + KO.n(b)),
    promptGuess: '플레이어 차례: 중복 없는 네 자리 숫자',
    promptAnswer: (code) => '컴퓨터의 추측 ' + code + '에 답하세요',
    promptConfirm: '대답이 정말 맞나요? Y 또는 N',
    promptCode: '비밀 숫자를 입력하세요',
    promptEnd: '게임 끝',
    promptLoading: '불러오는 중…',
    win: '승리!',
    loss: '패배!',
    draw: '무승부!',
    failed: '게임을 시작하지 못했습니다.',
    turns: (n) => KO.n(n) + '회 만에',
    secret: (code) => '컴퓨터의 숫자: ' + code,
    playAgain: '다시 하기',
    announce: (n, guess, score, computer) =>
        KO.n(n) + '회: ' + guess + ', ' + score + '. 컴퓨터 추측: ' + computer + '.',
    abandon: '진행 중인 게임을 그만둘까요?',
    abandonYes: '그만두기',
    abandonNo: '계속하기',
    record: '이 기기에서의 전적: ',
    recordLine: (r, avg) => KO.n(r.played) + '판 ' + KO.n(r.won) + '승 ' + KO.n(r.lost) + '패 ' +
                            KO.n(r.drawn) + '무' +
                            (avg ? ', 이긴 판 평균 ' + numberIn('ko', Number(avg), true) + '회' : ''),
    clearRecord: '전적 지우기',
    review: '서로 좁혀 간 과정',
    computerLeft: '컴퓨터에게 남은 후보',
    playerLeft: '플레이어에게 남은 후보',
    oneLeft: (n) => KO.n(n) + '회 뒤 하나 남음',
    keyNames: {H: '스트라이크', B: '볼', X: '아웃', '?': '기록', Y: '예', N: '아니요',
               Backspace: '지우기', Enter: '입력'},
    // 되돌리기, 대답 확인, 메모판, 게임이 끝난 이유.
    undo: '되돌리기',
    myCode: '플레이어의 비밀 숫자(이 기기에만 저장) — 입력해 두면 대답이 맞는지 확인해 줍니다',
    scratch: '메모판: 컴퓨터의 숫자에 들어 있는지 표시',
    marks: {unknown: '모름', out: '없음', in: '있음'},
    refused: {
      tooMany: '스트라이크와 볼은 합쳐서 4개를 넘을 수 없습니다.',
      threeOne: '3H1B는 나올 수 없습니다. 세 자리가 맞으면 남은 하나도 제자리일 수밖에 없습니다.',
      negative: '스트라이크와 볼은 음수가 될 수 없습니다.',
      notCode: '중복 없는 네 자리 숫자를 입력하세요(예: 5079).',
      yesOrNo: 'Y 또는 N으로 답하세요.',
    },
    differs: (score) => '입력해 둔 비밀 숫자로는 ' + score + '입니다. 그래도 보내려면 ⏎를 한 번 더 누르세요.',
    expected: (score) => '입력한 비밀 숫자로는 ' + score,
    lastGuess: (code) => '컴퓨터의 숫자를 맞혔습니다! 무승부를 노리는 컴퓨터의 마지막 추측 ' + code + '에 답하세요',
    contradiction: '대답끼리 서로 맞지 않아 들어맞는 숫자가 없습니다.',
    wrongAnswer: (turn, guess, said, should) =>
        turn + '회: ' + guess + '에 대한 대답 ' + said + ', 올바른 대답은 ' + should + '.',
    forgetRecord: '이 기기의 전적을 모두 지울까요?',
    forgetRecordYes: '지우기',
    forgetRecordNo: '그대로 두기',
    // 이어 하기, 오늘의 게임과 공유, 게임이 끝나는 이유.
    resume: '이어 하기',
    daily: '오늘의 게임',
    dailyNext: (h, m) => '다음 게임까지 ' + KO.n(h) + '시간 ' + KO.n(m) + '분',
    dailyRecord: '오늘의 게임 전적: ',
    dailyLine: (r) => [KO.n(r.played) + '판', KO.n(r.won) + '승', '연승 ' + KO.n(r.streak),
                       '최고 ' + KO.n(r.best)],
    share: '공유',
    shareTitle: (date, result, turns) => '숫자야구 오늘의 게임 ' + date + ': ' +
                                         {win: '승리', loss: '패배', draw: '무승부'}[result] +
                                         ' (' + KO.n(turns) + '회)',
    shared: '복사했습니다. 원하는 곳에 붙여 넣으세요.',
    notShared: '이 브라우저에서는 공유할 수 없었습니다. 여기서 복사하세요:',
    abandonWhy: {
      newGame: '새 게임이 시작됩니다.',
      language: '언어를 바꾸면 새 게임이 시작됩니다.',
      aloud: '생각을 말할지 바꾸면 새 게임이 시작됩니다.',
      daily: '대신 오늘의 게임이 시작됩니다.',
    },
    dailyLoss: '오늘의 게임은 지금 그만두면 패배로 칩니다.',
    // 게임이 잘못 읽을 대답, 질문에 대한 N, 요청하면 보여 주는 컴퓨터의 숫자.
    readAs: (score) => 'X, 2H, 3B, 1H2B 형식으로 답하세요' +
                       (score ? '. 이대로면 ' + score + '(으)로 읽힙니다.' : '.'),
    denied: (wrong) => 'N이면 컴퓨터의 승리로 끝납니다' +
                       (wrong ? '. ' + KO.n(wrong.turn) + '회 ' + wrong.guess + '에 대한 대답은 ' +
                                    wrong.said + '였지만 입력해 둔 비밀 숫자로는 ' + wrong.should + '입니다'
                              : '') +
                       '. 되돌리기로 대답을 취소할 수 있고, N을 한 번 더 누르면 끝납니다.',
    reveal: '컴퓨터의 숫자 보기',
    number: KO.n,
  },
  'zh-Hans': {
    name: '简体中文',
    title: '猜数字',
    howToPlay: '玩法',
    rules: [
      '先想好一个由四个不同数字组成的答案（例如 5079），记下来别忘了。',
      '你和电脑轮流猜对方的答案。',
      'H 表示数字和位置都对，B 表示数字对但位置不对（就是 1A2B 的 A 和 B）。',
      '例如：答案是 5079，猜 1570 得 1H2B：7 是 H，5 和 0 是 B。一个都不对就是 X。',
      '记录板上，实心圆点是 H，空心圆点是 B。',
      '电脑猜的时候，请对照你的答案回答，例如 1H2B、2H、3B 或 X。',
      '猜中四个 H 就赢；同一回合双方都猜中则平局。',
      '电脑会把它的想法说出来。',
    ],
    start: '开始',
    language: '语言',
    thinksAloud: '电脑说出想法',
    newGame: '新游戏',
    board: '记录板',
    turn: '回合',
    yourGuess: '你的猜测',
    itsScore: '结果',
    computerGuess: '电脑的猜测',
    yourAnswer: '你的回答',
    remarks: '电脑的话',
    line: '输入',
    keys: '按键',
    score: (h, b) => (h + b === 0 ? '全不对' : ZH_HANS.n(h) + ' 个 H，' + ZH_HANS.n(b) + ' 个 B'),
    promptGuess: '轮到你：四个不同的数字',
    promptAnswer: (code) => '电脑猜 ' + code + '：几 H 几 B？',
    promptConfirm: '你的回答都对吗？Y 或 N',
    promptCode: '请输入你的答案',
    promptEnd: '游戏结束',
    promptLoading: '加载中…',
    win: '你赢了！',
    loss: '电脑赢了！',
    draw: '平局！',
    failed: '游戏无法开始。',
    turns: (n) => '用了 ' + ZH_HANS.n(n) + ' 回合',
    secret: (code) => '电脑的答案是 ' + code,
    playAgain: '再玩一次',
    announce: (n, guess, score, computer) => '第 ' + ZH_HANS.n(n) + ' 回合：' + guess + '，' +
                                             score + '。电脑猜 ' + computer + '。',
    abandon: '要放弃进行中的游戏吗？',
    abandonYes: '放弃',
    abandonNo: '继续玩',
    record: '本机战绩：',
    recordLine: (r, avg) => '共 ' + ZH_HANS.n(r.played) + ' 局，胜 ' + ZH_HANS.n(r.won) + '，负 ' +
                            ZH_HANS.n(r.lost) + '，平 ' + ZH_HANS.n(r.drawn) +
                            (avg ? '；获胜局平均 ' + numberIn('zh-Hans', Number(avg), true) + ' 回合'
                                 : ''),
    clearRecord: '清除战绩',
    review: '双方如何逼近答案',
    computerLeft: '电脑剩下的可能',
    playerLeft: '你剩下的可能',
    // 撤销、核对回答、草稿、结局的原因。
    undo: '撤销',
    myCode: '你的答案（只存在本机），填上后页面会帮你核对回答',
    scratch: '草稿：电脑答案里有哪些数字',
    marks: {unknown: '未定', out: '没有', in: '有'},
    refused: {
      tooMany: 'H 和 B 加起来最多 4 个。',
      threeOne: '不可能是 3H1B：三个数字位置都对时，剩下的数字只能在剩下的位置上。',
      negative: 'H 和 B 不会是负数。',
      notCode: '请输入四个不同的数字，例如 5079。',
      yesOrNo: '请回答 Y 或 N。',
    },
    differs: (score) => '按你的答案应该是 ' + score + '。仍要发送，请再按一次 ⏎。',
    expected: (score) => '按你的答案是 ' + score,
    lastGuess: (code) => '你猜中了电脑的答案！电脑还有最后一次机会争取平局：' + code + ' 几 H 几 B？',
    contradiction: '你的回答前后矛盾，没有任何答案符合。',
    wrongAnswer: (turn, guess, said, should) =>
        '第 ' + turn + ' 回合：' + guess + ' 你回答 ' + said + '，正确的是 ' + should + '。',
    forgetRecord: '要清除本机的全部战绩吗？',
    forgetRecordYes: '清除',
    forgetRecordNo: '保留',
    oneLeft: (n) => '第 ' + ZH_HANS.n(n) + ' 回合后只剩一个',
    keyNames: {H: '数字和位置都对', B: '数字对，位置不对', X: '全不对', '?': '记录', Y: '是',
               N: '否', Backspace: '删除', Enter: '确定'},
    // 继续、今日一局及其分享、游戏为何会结束。
    resume: '继续',
    daily: '今日一局',
    dailyNext: (h, m) => '下一局还有 ' + ZH_HANS.n(h) + ' 小时 ' + ZH_HANS.n(m) + ' 分钟',
    dailyRecord: '今日一局战绩：',
    dailyLine: (r) => ['玩了 ' + ZH_HANS.n(r.played), '赢了 ' + ZH_HANS.n(r.won),
                       '连胜 ' + ZH_HANS.n(r.streak), '最高 ' + ZH_HANS.n(r.best)],
    share: '分享',
    shareTitle: (date, result, turns) => '猜数字 今日一局 ' + date + '：' +
                                         {win: '赢', loss: '输', draw: '平局'}[result] +
                                         '，用了 ' + ZH_HANS.n(turns) + ' 回合',
    shared: '已复制，可以粘贴到任何地方。',
    notShared: '这个浏览器无法分享，请从这里复制：',
    abandonWhy: {
      newGame: '将开始新的一局。',
      language: '换语言会开始新的一局。',
      aloud: '改变电脑是否说出想法会开始新的一局。',
      daily: '将改为开始今日一局。',
    },
    dailyLoss: '今日一局现在放弃算输。',
    // 游戏会读错的回答、问题前的 N、应要求显示的答案。
    readAs: (score) => '请按 X、2H、3B、1H2B 的格式回答' +
                       (score ? '，这样会被读成 ' + score + '。' : '。'),
    denied: (wrong) => '回答 N 游戏即以电脑获胜结束' +
                       (wrong ? '：第 ' + ZH_HANS.n(wrong.turn) + ' 回合 ' + wrong.guess + ' 你回答 ' +
                                    wrong.said + '，按你的答案应该是 ' + wrong.should
                              : '') +
                       '。可用“撤销”收回回答；再按一次 N 即结束。',
    reveal: '查看电脑的答案',
    number: ZH_HANS.n,
  },
  'zh-Hant': {
    name: '繁體中文',
    title: '猜數字',
    howToPlay: '玩法',
    rules: [
      '先想好一個由四個不同數字組成的答案（例如 5079），記下來別忘了。',
      '你和電腦輪流猜對方的答案。',
      'H 表示數字和位置都對，B 表示數字對但位置不對（就是 1A2B 的 A 和 B）。',
      '例如：答案是 5079，猜 1570 得 1H2B：7 是 H，5 和 0 是 B。一個都不對就是 X。',
      '記錄板上，實心圓點是 H，空心圓點是 B。',
      '電腦猜的時候，請對照你的答案回答，例如 1H2B、2H、3B 或 X。',
      '猜中四個 H 就贏；同一回合雙方都猜中則平手。',
      '電腦會把它的想法說出來。',
    ],
    start: '開始',
    language: '語言',
    thinksAloud: '電腦說出想法',
    newGame: '新遊戲',
    board: '記錄板',
    turn: '回合',
    yourGuess: '你的猜測',
    itsScore: '結果',
    computerGuess: '電腦的猜測',
    yourAnswer: '你的回答',
    remarks: '電腦的話',
    line: '輸入',
    keys: '按鍵',
    score: (h, b) => (h + b === 0 ? '全不對' : ZH_HANT.n(h) + ' 個 H，' + ZH_HANT.n(b) + ' 個 B'),
    promptGuess: '輪到你：四個不同的數字',
    promptAnswer: (code) => '電腦猜 ' + code + '：幾 H 幾 B？',
    promptConfirm: '你的回答都對嗎？Y 或 N',
    promptCode: '請輸入你的答案',
    promptEnd: '遊戲結束',
    promptLoading: '載入中…',
    win: '你贏了！',
    loss: '電腦贏了！',
    draw: '平手！',
    failed: '遊戲無法開始。',
    turns: (n) => '用了 ' + ZH_HANT.n(n) + ' 回合',
    secret: (code) => '電腦的答案是 ' + code,
    playAgain: '再玩一次',
    announce: (n, guess, score, computer) => '第 ' + ZH_HANT.n(n) + ' 回合：' + guess + '，' +
                                             score + '。電腦猜 ' + computer + '。',
    abandon: '要放棄進行中的遊戲嗎？',
    abandonYes: '放棄',
    abandonNo: '繼續玩',
    record: '本機戰績：',
    recordLine: (r, avg) => '共 ' + ZH_HANT.n(r.played) + ' 局，勝 ' + ZH_HANT.n(r.won) + '，負 ' +
                            ZH_HANT.n(r.lost) + '，平 ' + ZH_HANT.n(r.drawn) +
                            (avg ? '；獲勝局平均 ' + numberIn('zh-Hant', Number(avg), true) + ' 回合'
                                 : ''),
    clearRecord: '清除戰績',
    review: '雙方如何逼近答案',
    computerLeft: '電腦剩下的可能',
    playerLeft: '你剩下的可能',
    // 復原、核對回答、草稿、結局的原因。
    undo: '復原',
    myCode: '你的答案（只存在本機），填上後頁面會幫你核對回答',
    scratch: '草稿：電腦答案裡有哪些數字',
    marks: {unknown: '未定', out: '沒有', in: '有'},
    refused: {
      tooMany: 'H 和 B 加起來最多 4 個。',
      threeOne: '不可能是 3H1B：三個數字位置都對時，剩下的數字只能在剩下的位置上。',
      negative: 'H 和 B 不會是負數。',
      notCode: '請輸入四個不同的數字，例如 5079。',
      yesOrNo: '請回答 Y 或 N。',
    },
    differs: (score) => '按你的答案應該是 ' + score + '。仍要送出，請再按一次 ⏎。',
    expected: (score) => '按你的答案是 ' + score,
    lastGuess: (code) => '你猜中了電腦的答案！電腦還有最後一次機會爭取平手：' + code + ' 幾 H 幾 B？',
    contradiction: '你的回答前後矛盾，沒有任何答案符合。',
    wrongAnswer: (turn, guess, said, should) =>
        '第 ' + turn + ' 回合：' + guess + ' 你回答 ' + said + '，正確的是 ' + should + '。',
    forgetRecord: '要清除本機的全部戰績嗎？',
    forgetRecordYes: '清除',
    forgetRecordNo: '保留',
    oneLeft: (n) => '第 ' + ZH_HANT.n(n) + ' 回合後只剩一個',
    keyNames: {H: '數字和位置都對', B: '數字對，位置不對', X: '全不對', '?': '記錄', Y: '是',
               N: '否', Backspace: '刪除', Enter: '確定'},
    // 繼續、今日一局及其分享、遊戲為何會結束。
    resume: '繼續',
    daily: '今日一局',
    dailyNext: (h, m) => '下一局還有 ' + ZH_HANT.n(h) + ' 小時 ' + ZH_HANT.n(m) + ' 分鐘',
    dailyRecord: '今日一局戰績：',
    dailyLine: (r) => ['玩了 ' + ZH_HANT.n(r.played), '贏了 ' + ZH_HANT.n(r.won),
                       '連勝 ' + ZH_HANT.n(r.streak), '最高 ' + ZH_HANT.n(r.best)],
    share: '分享',
    shareTitle: (date, result, turns) => '猜數字 今日一局 ' + date + '：' +
                                         {win: '贏', loss: '輸', draw: '平手'}[result] +
                                         '，用了 ' + ZH_HANT.n(turns) + ' 回合',
    shared: '已複製，可以貼到任何地方。',
    notShared: '這個瀏覽器無法分享，請從這裡複製：',
    abandonWhy: {
      newGame: '將開始新的一局。',
      language: '換語言會開始新的一局。',
      aloud: '改變電腦是否說出想法會開始新的一局。',
      daily: '將改為開始今日一局。',
    },
    dailyLoss: '今日一局現在放棄算輸。',
    // 遊戲會讀錯的回答、問題前的 N、應要求顯示的答案。
    readAs: (score) => '請按 X、2H、3B、1H2B 的格式回答' +
                       (score ? '，這樣會被讀成 ' + score + '。' : '。'),
    denied: (wrong) => '回答 N 遊戲即以電腦獲勝結束' +
                       (wrong ? '：第 ' + ZH_HANT.n(wrong.turn) + ' 回合 ' + wrong.guess + ' 你回答 ' +
                                    wrong.said + '，按你的答案應該是 ' + wrong.should
                              : '') +
                       '。可用「復原」收回回答；再按一次 N 即結束。',
    reveal: '查看電腦的答案',
    number: ZH_HANT.n,
  },
  ru: {
    name: 'Русский',
    title: 'Быки и коровы',
    howToPlay: 'Как играть',
    rules: [
      'Задумай секретное число из четырёх разных цифр, например 5079, и запиши его, чтобы не забыть.',
      'Ты и компьютер по очереди угадываете число друг друга.',
      'Бык (H) — верная цифра на верном месте, корова (B) — верная цифра не на своём месте.',
      'Пример: для числа 5079 попытка 1570 даёт 1H2B: 7 — бык, 5 и 0 — коровы. ' +
          'Если ничего не совпало, это X.',
      'На доске закрашенный кружок — бык, пустой — корова.',
      'Когда компьютер называет число, сравни его со своим и ответь: 1H2B, 2H, 3B или X.',
      'Четыре быка — победа; если оба угадали за один ход, это ничья.',
      'Компьютер размышляет вслух.',
    ],
    start: 'Начать',
    language: 'Язык',
    thinksAloud: 'Компьютер размышляет вслух',
    newGame: 'Новая игра',
    board: 'Таблица ходов',
    turn: 'Ход',
    yourGuess: 'Твоя попытка',
    itsScore: 'Результат',
    computerGuess: 'Попытка компьютера',
    yourAnswer: 'Твой ответ',
    remarks: 'Слова компьютера',
    line: 'Строка ввода',
    keys: 'Клавиши',
    score: (h, b) => (h + b === 0 ? 'ни быков, ни коров' : RU.bull(h) + ', ' + RU.cow(b)),
    promptGuess: 'Твой ход: четыре разные цифры',
    promptAnswer: (code) => 'Компьютер называет ' + code + ': сколько быков и коров?',
    promptConfirm: 'Твои ответы точно верны? Y или N',
    promptCode: 'Введи своё секретное число',
    promptEnd: 'Игра окончена',
    promptLoading: 'Загрузка…',
    win: 'Победа за тобой!',
    loss: 'Победа за компьютером!',
    draw: 'Ничья!',
    failed: 'Игру не удалось начать.',
    turns: (n) => 'За ' + RU.move(n),
    secret: (code) => 'Компьютер загадал число ' + code,
    playAgain: 'Сыграть ещё',
    announce: (n, guess, score, computer) => 'Ход ' + RU.n(n) + ': ' + guess + ', ' + score +
                                             '. Компьютер называет ' + computer + '.',
    abandon: 'Бросить начатую игру?',
    abandonYes: 'Бросить',
    abandonNo: 'Играть дальше',
    record: 'Твои результаты на этом устройстве: ',
    recordLine: (r, avg) => 'сыграно ' + RU.n(r.played) + ', побед ' + RU.n(r.won) +
                            ', поражений ' + RU.n(r.lost) + ', ничьих ' + RU.n(r.drawn) +
                            (avg ? '; в среднем ' + RU.move(Number(avg), true) + ' на победу' : ''),
    clearRecord: 'Стереть результаты',
    review: 'Как обе стороны сужали поиск',
    computerLeft: 'Чисел осталось у компьютера',
    playerLeft: 'Чисел осталось у тебя',
    oneLeft: (n) => 'Одно число после хода ' + RU.n(n),
    keyNames: {H: 'быки', B: 'коровы', X: 'ни быков, ни коров', '?': 'история', Y: 'да',
               N: 'нет', Backspace: 'стереть', Enter: 'ввод'},
    // Отмена хода, проверка ответов, заметки и объяснение концовки.
    undo: 'Отменить',
    myCode: 'Твоё число (хранится только на этом устройстве): с ним страница проверит твои ответы',
    scratch: 'Заметки: цифры в числе компьютера',
    marks: {unknown: 'неизвестно', out: 'нет', in: 'есть'},
    refused: {
      tooMany: 'Быков и коров вместе не бывает больше четырёх.',
      threeOne: '3H1B не бывает: если три цифры на своих местах, четвёртой остаётся только её место.',
      negative: 'Быков и коров не бывает меньше нуля.',
      notCode: 'Нужны четыре разные цифры, например 5079.',
      yesOrNo: 'Ответь Y или N.',
    },
    differs: (score) => 'По твоему числу выходит ' + score + '. Чтобы всё равно отправить ответ, нажми ⏎ ещё раз.',
    expected: (score) => 'по твоему числу: ' + score,
    lastGuess: (code) => 'Число компьютера угадано! Его последняя попытка — на ничью: сколько быков и коров в ' + code + '?',
    contradiction: 'Твои ответы противоречат друг другу: ни одно число им не подходит.',
    wrongAnswer: (turn, guess, said, should) =>
        'Ход ' + turn + ': на ' + guess + ' был ответ ' + said + ', а верно ' + should + '.',
    forgetRecord: 'Стереть все результаты на этом устройстве?',
    forgetRecordYes: 'Стереть',
    forgetRecordNo: 'Оставить',
    // Продолжение, игра дня и её карточка, и почему вопрос закончит игру.
    resume: 'Продолжить',
    daily: 'Игра дня',
    dailyNext: (h, m) => 'Следующая игра дня через ' + RU.n(h) + ' ч ' + RU.n(m) + ' мин',
    dailyRecord: 'Игры дня: ',
    dailyLine: (r) => ['сыграно: ' + RU.n(r.played), 'побед: ' + RU.n(r.won),
                       'серия: ' + RU.n(r.streak), 'лучшая: ' + RU.n(r.best)],
    share: 'Поделиться',
    shareTitle: (date, result, turns) => 'Быки и коровы, игра дня ' + date + ': ' +
                                         {win: 'победа', loss: 'поражение', draw: 'ничья'}[result] +
                                         ', ' + RU.move(turns),
    shared: 'Скопировано: вставь куда угодно.',
    notShared: 'Этот браузер не смог поделиться. Скопируй отсюда:',
    abandonWhy: {
      newGame: 'Начнётся новая игра.',
      language: 'Другой язык начинает новую игру.',
      aloud: 'Смена размышлений вслух начинает новую игру.',
      daily: 'Вместо неё начнётся игра дня.',
    },
    dailyLoss: 'Брошенная игра дня засчитывается как поражение.',
    // Ответы, которые игра прочтёт не так, N на её вопрос и число компьютера по просьбе.
    readAs: (score) => 'Отвечай в виде X, 2H, 3B или 1H2B' +
                       (score ? ': игра прочтёт это как ' + score + '.' : '.'),
    denied: (wrong) => 'N закончит игру победой компьютера' +
                       (wrong ? ': ход ' + RU.n(wrong.turn) + ', на ' + wrong.guess +
                                    ' был ответ ' + wrong.said + ', а по твоему числу ' + wrong.should
                              : '') +
                       '. «Отменить» вернёт последний ответ; N ещё раз закончит игру.',
    reveal: 'Показать число компьютера',
    number: RU.n,
  },
  es: {
    name: 'Español',
    title: 'Picas y fijas',
    howToPlay: 'Cómo se juega',
    rules: [
      'Piensa un número secreto de cuatro cifras distintas, como 5079, y anótalo para no olvidarlo.',
      'Tú y la computadora se turnan para adivinar el número del otro.',
      'Una fija (H) es una cifra correcta en su lugar; una pica (B), una cifra correcta en otro lugar.',
      'Ejemplo: si el número es 5079, el intento 1570 da 1H2B: el 7 es fija, el 5 y el 0 son ' +
          'picas. X significa ni fijas ni picas.',
      'En el tablero, un punto lleno es una fija y uno hueco, una pica.',
      'Cuando la computadora intente, compara su intento con tu número y responde: ' +
          '1H2B, 2H, 3B o X.',
      'Cuatro fijas ganan; si ambos aciertan en el mismo turno, es empate.',
      'La computadora piensa en voz alta.',
    ],
    start: 'Empezar',
    language: 'Idioma',
    thinksAloud: 'La computadora piensa en voz alta',
    newGame: 'Partida nueva',
    board: 'Tablero',
    turn: 'Turno',
    yourGuess: 'Tu intento',
    itsScore: 'Resultado',
    computerGuess: 'Intento de la computadora',
    yourAnswer: 'Tu respuesta',
    remarks: 'Lo que dice la computadora',
    line: 'Tu línea',
    keys: 'Teclas',
    score: (h, b) => (h + b === 0 ? 'ninguna fija, ninguna pica' : ES.hit(h) + ', ' + ES.blow(b)),
    promptGuess: 'Tu turno: cuatro cifras distintas',
    promptAnswer: (code) => 'La computadora dice ' + code + ': ¿cuántas fijas y picas?',
    promptConfirm: '¿Tus respuestas son correctas? Y o N',
    promptCode: 'Escribe tu número secreto',
    promptEnd: 'Fin de la partida',
    promptLoading: 'Cargando…',
    win: '¡Ganaste!',
    loss: '¡Ganó la computadora!',
    draw: '¡Empate!',
    failed: 'No se pudo empezar la partida.',
    turns: (n) => 'En ' + ES.turn(n),
    secret: (code) => 'El número de la computadora era ' + code,
    playAgain: 'Jugar otra vez',
    announce: (n, guess, score, computer) => 'Turno ' + ES.n(n) + ': ' + guess + ', ' + score +
                                             '. La computadora dice ' + computer + '.',
    abandon: '¿Abandonar la partida en curso?',
    abandonYes: 'Abandonarla',
    abandonNo: 'Seguir jugando',
    record: 'Tu historial en este dispositivo: ',
    recordLine: (r, avg) => ES.played(r.played) + ', ' + ES.won(r.won) + ', ' + ES.lost(r.lost) +
                            ', ' + ES.drawn(r.drawn) +
                            (avg ? '; ' + ES.turn(Number(avg), true) + ' por victoria' : ''),
    clearRecord: 'Borrar el historial',
    review: 'Cómo se acercó cada lado',
    computerLeft: 'Números que le quedaban a la computadora',
    playerLeft: 'Números que te quedaban',
    oneLeft: (n) => 'Solo uno tras el turno ' + ES.n(n),
    keyNames: {H: 'fijas', B: 'picas', X: 'ninguna', '?': 'historial', Y: 'sí', N: 'no',
               Backspace: 'borrar', Enter: 'Enter'},
    // Deshacer, respuestas revisadas, notas y finales que dicen por qué.
    undo: 'Deshacer',
    myCode: 'Tu número (solo lo guarda este dispositivo), para que la página revise tus respuestas',
    scratch: 'Notas: las cifras del número de la computadora',
    marks: {unknown: 'sin marcar', out: 'no está', in: 'sí está'},
    refused: {
      tooMany: 'Fijas y picas no suman más de 4.',
      threeOne: '3H1B es imposible: con tres cifras en su lugar, a la cuarta solo le queda el suyo.',
      negative: 'Fijas y picas nunca son negativas.',
      notCode: 'Hacen falta cuatro cifras distintas, como 5079.',
      yesOrNo: 'Responde Y o N.',
    },
    differs: (score) => 'Con tu número da ' + score + '. Para enviar tu respuesta igual, presiona ⏎ otra vez.',
    expected: (score) => 'con tu número: ' + score,
    lastGuess: (code) => '¡Adivinaste el número de la computadora! Le queda un último intento para empatar: puntúa ' + code,
    contradiction: 'Tus respuestas se contradicen: ningún número las cumple todas.',
    wrongAnswer: (turn, guess, said, should) =>
        'Turno ' + turn + ': a ' + guess + ' respondiste ' + said + ', pero era ' + should + '.',
    forgetRecord: '¿Borrar todo el historial de este dispositivo?',
    forgetRecordYes: 'Borrarlo',
    forgetRecordNo: 'Conservarlo',
    // Reanudar, la partida del día y su tarjeta, y por qué una pregunta terminaría la partida.
    resume: 'Reanudar',
    daily: 'Partida del día',
    dailyNext: (h, m) => 'La próxima partida del día en ' + ES.n(h) + ' h ' + ES.n(m) + ' min',
    dailyRecord: 'Partidas del día: ',
    dailyLine: (r) => ['jugadas: ' + ES.n(r.played), 'ganadas: ' + ES.n(r.won),
                       'racha: ' + ES.n(r.streak), 'mejor racha: ' + ES.n(r.best)],
    share: 'Compartir',
    shareTitle: (date, result, turns) =>
        'Picas y fijas, partida del día ' + date + ': ' +
        {win: 'ganada', loss: 'perdida', draw: 'empatada'}[result] + ' en ' + ES.turn(turns),
    shared: 'Copiado: pégalo donde quieras.',
    notShared: 'Este navegador no pudo compartirlo. Cópialo de aquí:',
    abandonWhy: {
      newGame: 'Empieza una partida nueva.',
      language: 'Otro idioma empieza una partida nueva.',
      aloud: 'Pensar en voz alta o no empieza una partida nueva.',
      daily: 'En su lugar empieza la partida del día.',
    },
    dailyLoss: 'La partida del día, dejada ahora, cuenta como perdida.',
    // Respuestas que el juego leería mal, N a su pregunta y el número de la computadora a pedido.
    readAs: (score) => 'Responde como X, 2H, 3B o 1H2B' +
                       (score ? ': el juego lo leería como ' + score + '.' : '.'),
    denied: (wrong) => 'N termina la partida con la victoria de la computadora' +
                       (wrong ? ': en el turno ' + ES.n(wrong.turn) + ' respondiste ' + wrong.said +
                                    ' a ' + wrong.guess + ', y con tu número da ' + wrong.should
                              : '') +
                       '. Deshacer quita tu última respuesta; N otra vez termina la partida.',
    reveal: 'Ver el número de la computadora',
    number: ES.n,
  },
};

// The table for a language tag: the tag itself, else its shorter forms ("ja-utf8" is "ja").
export function wordsFor(tag) {
  for (let t = tag; t; t = t.slice(0, Math.max(t.lastIndexOf('-'), 0))) {
    if (WORDS[t]) return t;
  }
  return null;
}
