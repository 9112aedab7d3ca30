// The game's resource files as the page downloads them: one bundle, tavok-res.data, written by
// web/pack_res.mjs and opened here by the loader, which hands the game each file's bytes from it
// (web/tavok_library.js) instead of putting hundreds of files into the page's file system first.
//
// Layout: the four bytes "TVKB"; the index's length in bytes (4 bytes, little-endian); the index, JSON:
// [[path, length], ...], the paths as the game asks for them ("res/12.dat"); then every file's bytes in
// the index's order, and nothing after them.
const kBundleMagic = 'TVKB';
// Far above the game's own (about 30 KB); a larger index belongs to a damaged file.
const kLargestIndex = 1 << 20;

// A Map from path to the file's bytes (views into bytes, not copies), or null when bytes is not a
// whole bundle: a wrong start, an index that does not parse or does not add up to the bytes after it.
export function openBundle(bytes) {
  if (bytes.length < 8 || String.fromCharCode(...bytes.subarray(0, 4)) !== kBundleMagic) return null;
  const indexLength = new DataView(bytes.buffer, bytes.byteOffset, 8).getUint32(4, true);
  if (indexLength > kLargestIndex || 8 + indexLength > bytes.length) return null;
  let index;
  try {
    index = JSON.parse(new TextDecoder('utf-8', { fatal: true }).decode(bytes.subarray(8, 8 + indexLength)));
  } catch (e) {
    return null;
  }
  if (!Array.isArray(index)) return null;
  const files = new Map();
  let at = 8 + indexLength;
  for (const entry of index) {
    const [name, length] = Array.isArray(entry) ? entry : [];
    if (typeof name !== 'string' || !Number.isSafeInteger(length) || length < 0 || length > bytes.length - at ||
        files.has(name)) {
      return null;
    }
    files.set(name, bytes.subarray(at, at + length));
    at += length;
  }
  return at === bytes.length ? files : null;
}
