// The panel's text handling outside a browser: parenthesised groups as the
// results view cuts them (a group runs up to and including its ')', or to the
// end when unbalanced), and answers split back into results.
// Usage: node results_view_check.mjs
import { parseAnswer } from '../../extension/engine.js';
import { segments } from '../../extension/results_view.js';

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

console.log(failures === 0 ? 'results view text: all cases passed' : `results view text: ${failures} failed`);
process.exit(failures === 0 ? 0 : 1);
