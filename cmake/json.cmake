# nlohmann/json, header-only, from the system (Debian's nlohmann-json3-dev, installed by
# scripts/setup). The cross build must not see /usr/include as a whole (it holds the Linux
# headers), so both builds get a folder of their own that holds only a link to nlohmann/.
if(NOT TARGET nlohmann_json_headers)
  set(json_source /usr/include/nlohmann)
  if(NOT EXISTS ${json_source}/json.hpp)
    message(FATAL_ERROR "nlohmann/json is missing: run scripts/setup (nlohmann-json3-dev)")
  endif()
  set(json_include ${CMAKE_BINARY_DIR}/third_party/include)
  file(MAKE_DIRECTORY ${json_include})
  file(CREATE_LINK ${json_source} ${json_include}/nlohmann SYMBOLIC)
  add_library(nlohmann_json_headers INTERFACE)
  target_include_directories(nlohmann_json_headers SYSTEM INTERFACE ${json_include})
endif()
