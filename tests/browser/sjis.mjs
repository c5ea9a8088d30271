// Shift-JIS encoding for test files (Node decodes Shift_JIS but has no encoder): the table is
// built once by decoding every two-byte code.
const decoder = new TextDecoder('shift_jis');
let table = null;

function buildTable() {
  table = new Map();
  const leads = [];
  for (let b = 0x81; b <= 0x9f; ++b) leads.push(b);
  for (let b = 0xe0; b <= 0xfc; ++b) leads.push(b);
  for (const lead of leads) {
    for (let trail = 0x40; trail <= 0xfc; ++trail) {
      if (trail === 0x7f) continue;
      const ch = decoder.decode(Uint8Array.from([lead, trail]));
      if (ch.length === 1 && ch !== '\ufffd' && !table.has(ch)) table.set(ch, [lead, trail]);
    }
  }
  for (let b = 0xa1; b <= 0xdf; ++b) table.set(decoder.decode(Uint8Array.from([b])), [b]);
}

export function encodeSjis(text) {
  if (!table) buildTable();
  const bytes = [];
  for (const ch of text) {
    const code = ch.codePointAt(0);
    if (code < 0x80) bytes.push(code);
    else if (table.has(ch)) bytes.push(...table.get(ch));
    else throw new Error(`not in Shift-JIS: ${ch}`);
  }
  return Buffer.from(bytes);
}
