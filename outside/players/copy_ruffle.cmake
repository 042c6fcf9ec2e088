# Copies the files a page needs from the npm package: the loader, its chunks, the WebAssembly
# modules and the licences. Source maps and the rest stay behind.
if(NOT EXISTS ${PACKAGE}/ruffle.js)
  message(FATAL_ERROR "The web runtime is missing from ${PACKAGE}: run scripts/setup")
endif()
file(REMOVE_RECURSE ${DESTINATION})
file(GLOB files ${PACKAGE}/ruffle.js ${PACKAGE}/core.ruffle.*.js ${PACKAGE}/*.wasm
  ${PACKAGE}/LICENSE_* ${PACKAGE}/package.json)
list(FILTER files EXCLUDE REGEX "\\.map$")
file(COPY ${files} DESTINATION ${DESTINATION})
