// The panel's text handling outside a browser: parenthesised groups as the
// results view cuts them (a group runs up to and including its ')', or to the
// end when unbalanced), answers split back into results, results arranged
// into entries and phrase groups, and the saved words' exports.
// Usage: node results_view_check.mjs
import { parseAnswer } from '../../extension/engine.js';
import { arrange, groupLabel, segments } from '../../extension/results_view.js';
import { sentenceAround, toAnki, toCsv } from '../../extension/saved_words.js';

let failures = 0;
function expectEqual(actual, expected, what) {
  const ok = JSON.stringify(actual) === JSON.stringify(expected);
  if (!ok) {
    failures++;
    console.log(`FAIL ${what}: ${JSON.stringify(actual)}, expected ${JSON.stringify(expected)}`);
  }
}

const parts = (text) => segments(text).map((part) => (part.group ? `[${part.text}]` : part.text));
expectEqual(parts('to take (sth) off'), ['to take ', '[(sth)]', ' off'], 'a group inside a line');
expectEqual(parts('(zool.) liška (Vulpes)'), ['[(zool.)]', ' liška ', '[(Vulpes)]'], 'groups at both ends');
expectEqual(parts('a (b (c) d) e'), ['a ', '[(b (c)]', ' d) e'], 'a group ends at its first )');
expectEqual(parts('open (to the end'), ['open ', '[(to the end]'], 'an unbalanced ( is grey to the end');
expectEqual(parts('a) b'), ['a) b'], 'a lone ) is plain text');
expectEqual(parts('()x'), ['[()]', 'x'], 'an empty group');
expectEqual(parts(''), [], 'an empty line');

expectEqual(parseAnswer('12\thot dog\tvuřt v housce\t(amer.) párek\n5\tdog\tpes\n'),
  [{ score: 12, head: 'hot dog', translations: ['vuřt v housce', '(amer.) párek'] },
    { score: 5, head: 'dog', translations: ['pes'] }], 'an answer splits into its results');
expectEqual(parseAnswer(''), [], 'an empty answer');
expectEqual(parseAnswer('7\thead only\n'), [{ score: 7, head: 'head only', translations: [] }],
  'a result without translations');

// Entries: one per bare head, where the best of its results stands; the
// word's own first, then its phrases, those with the word itself first.
const result = (head, ...translations) => ({ score: 0, head, translations });
const went = arrange([result('went', 'šel'), result('go', 'jít'), result('goes', 'jde'), result('go (v.)', 'odjet'),
  result('went out (v.)', 'vyšel'), result('go ahead', 'pokračovat'), result('anything goes', 'cokoli'),
  result('go ahead (id.)', 'do toho')], { word: 'went' });
expectEqual(went.own.map((e) => [e.head, e.senses.map((s) => s.labels)]),
  [['went', ['']], ['go', ['', 'v.']], ['goes', ['']]], 'own entries, one per head, labels apart');
expectEqual(went.groups.map((g) => [groupLabel(g), g.entries.map((e) => e.head)]),
  [['1 fráze se slovem „went“', ['went out']],
    ['2 fráze s tvary „go, goes“', ['go ahead', 'anything goes']]], 'phrase groups and their labels');
expectEqual(went.groups[1].entries[0].senses.length, 2, 'a phrase with and without labels is one entry');
const rested = arrange([result('look up (v.)', 'vyhledat'), result('looked', 'díval se')],
  { word: 'looked', phrase: 'look up' });
expectEqual(rested.own.map((e) => e.head), ['look up', 'looked'], 'the phrase of a rest is shown as own');
expectEqual(arrange([result('kůň', 'horse'), result('kůň bez sedla', 'bareback')], { word: 'kun', flat: true })
  .groups, [], 'a Czech answer is not folded');
expectEqual(groupLabel({ word: 'x', entries: new Array(5) }), '5 frází se slovem „x“', 'five and more: frází');

// Saved words: the sentence around the word, and exports that keep page
// text inert.
expectEqual(sentenceAround('First one. He went home! Then more.', 15), 'He went home!', 'the sentence of the word');
expectEqual(sentenceAround('no end at all', 3), 'no end at all', 'a text without sentence ends');
const saved = [{ head: 'went', czech: 'šel', sentence: 'He went <home>, "quietly"\tthen', address: 'http://x/', date: 'D' },
  { head: 'sum', czech: '=SUM(A1)', sentence: '', address: '', date: 'D' }];
expectEqual(toCsv(saved).split('\r\n').slice(1, 3), ['"went","šel","He went <home>, ""quietly""\tthen","http://x/","D"',
  '"sum","\'=SUM(A1)","","","D"'], 'CSV: quotes doubled, a formula kept as text');
expectEqual(toAnki(saved).split('\n').slice(3, 5), ['<b>went</b><br>He <b>went</b> &lt;home&gt;, "quietly" then\tšel',
  '<b>sum</b>\t=SUM(A1)'], 'Anki: the word in bold with its sentence, markup escaped, one line a note');

console.log(failures === 0 ? 'results view text: all cases passed' : `results view text: ${failures} failed`);
process.exit(failures === 0 ? 0 : 1);
