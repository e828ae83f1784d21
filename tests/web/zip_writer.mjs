// A tiny .zip writer for the web tests: stored and deflated entries, with any header field
// overridable so that a test can write the damaged and hostile archives a player might pick.
import { deflateRawSync } from 'node:zlib';

const crcTable = Array.from({ length: 256 }, (_, n) => {
  let c = n;
  for (let k = 0; k < 8; ++k) c = c & 1 ? 0xedb88320 ^ (c >>> 1) : c >>> 1;
  return c >>> 0;
});
export function crc32(bytes) {
  let c = 0xffffffff;
  for (const b of bytes) c = crcTable[(c ^ b) & 0xff] ^ (c >>> 8);
  return (c ^ 0xffffffff) >>> 0;
}

function u16(n) {
  const b = Buffer.alloc(2);
  b.writeUInt16LE(n);
  return b;
}
function u32(n) {
  const b = Buffer.alloc(4);
  b.writeUInt32LE(n >>> 0);
  return b;
}

// entries: [{name: string (written as UTF-8) or bytes, data, method: 0 | 8 (default 8), utf8
// (sets flag bit 11), and header overrides: flags, methodField, crc, size, packedSize, extra,
// localOffset}]. options: {count (the end record's entry count), zip64Locator, comment (bytes)}.
export function makeZip(entries, options = {}) {
  const locals = [];
  const centrals = [];
  let offset = 0;
  for (const e of entries) {
    const name = typeof e.name === 'string' ? Buffer.from(e.name, 'utf8') : Buffer.from(e.name);
    const data = Buffer.from(e.data ?? '');
    const method = e.method ?? 8;
    const packed = method === 8 ? deflateRawSync(data) : data;
    const flags = e.flags ?? (e.utf8 ? 0x800 : 0);
    const extra = Buffer.from(e.extra ?? []);
    const fields = [
      u16(20), u16(flags), u16(e.methodField ?? method), u16(0), u16(0x21),
      u32(e.crc ?? crc32(data)), u32(e.packedSize ?? packed.length), u32(e.size ?? data.length),
      u16(name.length), u16(extra.length),
    ];
    const local = Buffer.concat([u32(0x04034b50), ...fields, name, extra, packed]);
    centrals.push(Buffer.concat([u32(0x02014b50), u16(20), ...fields, u16(0), u16(0), u16(0), u32(0),
      u32(e.localOffset ?? offset), name, extra]));
    locals.push(local);
    offset += local.length;
  }
  const directory = Buffer.concat(centrals);
  const count = options.count ?? entries.length;
  const locator = options.zip64Locator ? Buffer.concat([u32(0x07064b50), Buffer.alloc(16)]) : Buffer.alloc(0);
  const comment = Buffer.from(options.comment ?? []);
  const end = Buffer.concat([u32(0x06054b50), u16(0), u16(0), u16(count), u16(count),
    u32(directory.length), u32(offset), u16(comment.length), comment]);
  return new Uint8Array(Buffer.concat([...locals, directory, locator, end]));
}
