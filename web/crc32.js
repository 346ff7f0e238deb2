// CRC-32, the checksum of zip, gzip and PNG: it finds every change of up to 32 bits in a row, so
// any one character changed in a link. Used to check packed runs and to write the site's icons.

const TABLE = Array.from({length: 256}, (_, byte) => {
  let crc = byte;
  for (let bit = 0; bit < 8; bit += 1) {
    crc = crc & 1 ? 0xedb88320 ^ (crc >>> 1) : crc >>> 1;
  }
  return crc >>> 0;
});

// The CRC-32 of bytes (a Uint8Array), as an unsigned 32-bit number.
export function crc32(bytes) {
  let crc = 0xffffffff;
  for (const byte of bytes) {
    crc = TABLE[(crc ^ byte) & 0xff] ^ (crc >>> 8);
  }
  return (crc ^ 0xffffffff) >>> 0;
}
