// The files chosen in a file input, read whole.

// Calls receive(name, bytes) for each file chosen in input, then empties the input, so that the
// same file can be chosen again after an edit.
export async function readChosenFiles(input, receive) {
  for (const chosen of input.files) {
    receive(chosen.name, new Uint8Array(await chosen.arrayBuffer()));
  }
  input.value = "";
}
