// Keeps one run's output whole, away from the page's thread, where writing hundreds of
// megabytes to a file or into Blobs would hold the page up: the page hands each piece of both
// streams over as it comes (a transfer, not a copy), and the keeper writes it to a file of the
// tab's folder in the origin's private file system, in place, or where the browser gives no
// such file, to Blobs in memory.
//
// The page posts, in this order:
//   {folder, names}   folder the tab's FileSystemDirectoryHandle, or null; names {stdout,
//                     stderr}, the files' names in it
//   {stream, bytes}   each piece of output, stream "stdout" or "stderr"
//   {finish: true}    once the run has ended
// and the keeper then posts {stdout, stderr}, two Blobs (Files, on disk) of every byte, or
// {failure}, a sentence that says why it could not keep them.

// Bytes held in memory before they are put into a Blob, which keeps them out of the heap. WebKit
// makes even a worker's Blob on the page's thread, which a Blob of 16 MB held up to 400 ms.
const SETTLE_BYTES = 1 << 20;

// Where one stream's bytes go: a file written through a synchronous access handle, or failing
// that pieces in memory.
class Store {
  static async open(folder, name) {
    const store = new Store();
    try {
      store.file = await folder.getFileHandle(name, {create: true});
      store.access = await store.file.createSyncAccessHandle();
    } catch {
      store.access = null;
    }
    return store;
  }

  constructor() {
    this.access = null;
    this.length = 0;
    this.pieces = [];
    this.piecesLength = 0;
    this.settled = [];
  }

  append(bytes) {
    if (this.access) {
      for (let at = 0; at < bytes.length; ) {
        const written = this.access.write(bytes.subarray(at), {at: this.length + at});
        if (written === 0) {
          throw new Error("the private file system took no more bytes");
        }
        at += written;
      }
    } else {
      this.pieces.push(bytes);
      this.piecesLength += bytes.length;
      if (this.piecesLength >= SETTLE_BYTES) {
        this.settle();
      }
    }
    this.length += bytes.length;
  }

  settle() {
    this.settled.push(new Blob(this.pieces));
    this.pieces = [];
    this.piecesLength = 0;
  }

  // All its bytes, as a Blob; no more can be appended.
  async blob() {
    if (!this.access) {
      this.settle();
      return new Blob(this.settled, {type: "application/octet-stream"});
    }
    this.access.close();
    return this.file.getFile();
  }
}

// The stores, once opened; what arrives before waits its turn, in order.
let opening = null;
let failure = null;

self.onmessage = async ({data}) => {
  if (data.names) {
    const {folder, names} = data;
    opening = (async () => {
      const stores = {};
      for (const [stream, name] of Object.entries(names)) {
        stores[stream] = folder ? await Store.open(folder, name) : new Store();
      }
      return stores;
    })();
    return;
  }
  const stores = await opening;
  if (data.stream) {
    try {
      stores[data.stream].append(data.bytes);
    } catch (error) {
      failure ??= error.message;
    }
  } else if (failure !== null) {
    self.postMessage({failure});
  } else {
    try {
      self.postMessage({stdout: await stores.stdout.blob(), stderr: await stores.stderr.blob()});
    } catch (error) {
      self.postMessage({failure: error.message});
    }
  }
};
