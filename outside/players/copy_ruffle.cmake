# Copies the files a page needs from the npm package: the loader, its chunks, the WebAssembly
# modules and the licences. Source maps and the rest stay behind. The modules lose their custom
# sections (wasm-strip): a table of debug names, 2 MB of each 14, and notes for linkers, none of
# which the browser uses; the code stays as released. Beside each script and module
# go its brotli and gzip copies at their best compression ("X.br", "X.gz"), made once here: the
# preview server sends them to browsers that take them, and so can a web host.
if(NOT EXISTS ${PACKAGE}/ruffle.js)
  message(FATAL_ERROR "The web runtime is missing from ${PACKAGE}: run scripts/setup")
endif()
file(REMOVE_RECURSE ${DESTINATION})
file(GLOB files ${PACKAGE}/ruffle.js ${PACKAGE}/core.ruffle.*.js ${PACKAGE}/*.wasm
  ${PACKAGE}/LICENSE_* ${PACKAGE}/package.json)
list(FILTER files EXCLUDE REGEX "\\.map$")
file(COPY ${files} DESTINATION ${DESTINATION})
file(GLOB modules ${DESTINATION}/*.wasm)
foreach(module IN LISTS modules)
  execute_process(COMMAND ${WASM_STRIP} ${module} COMMAND_ERROR_IS_FATAL ANY)
endforeach()
file(GLOB compressible ${DESTINATION}/*.js ${DESTINATION}/*.wasm ${DESTINATION}/*.json)
foreach(file IN LISTS compressible)
  # The copies are written after the file, so they are never older than it.
  execute_process(COMMAND ${BROTLI} --best --force --output=${file}.br ${file}
    COMMAND_ERROR_IS_FATAL ANY)
  execute_process(COMMAND ${GZIP} --best --no-name --keep --force ${file}
    COMMAND_ERROR_IS_FATAL ANY)
endforeach()
