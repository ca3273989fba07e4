// How each part of the page loads its module (linked with --pre-js, so that
// it runs inside the part's own loader): the page holds Form1 alone first,
// then the whole program (app/CMakeLists.txt, prerender.js).
// The module is in the page, one character per byte after "vorlith-module:"
// (runtime/web/prerender.js writes it so; base64 before that, as under
// Node at build time): read on the spot, where the loader would fetch a
// data: address, which costs a slow phone tens of milliseconds.
function vorlithModuleBytes(text) {
  var start = 'vorlith-module:'.length, bytes = new Uint8Array(text.length - start);
  for (var i = 0; i < bytes.length; ++i) bytes[i] = text.charCodeAt(start + i);
  return bytes;
}
Module.instantiateWasm = function(imports, receive) {
  var bytes = wasmBinaryFile.indexOf('vorlith-module:') === 0 ? vorlithModuleBytes(wasmBinaryFile)
                                                             : tryParseAsDataURI(wasmBinaryFile);
  WebAssembly.instantiate(bytes, imports).then(function(result) {
    receive(result.instance, result.module);
  }, function(error) {
    vorlithCannotRun('failed', error);
  });
  return {};
};
Module.onAbort = function(what) {
  vorlithCannotRun(typeof WebAssembly === 'object' ? 'failed' : 'off', what);
};
// The program's start ends through here: with status 0 when the form is
// up, else with what it threw.
Module.quit = function(status, thrown) {
  if (status !== 0) vorlithCannotRun('failed', thrown);
  throw thrown;
};
