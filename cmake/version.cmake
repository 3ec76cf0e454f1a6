# The product's version is set once, in the project() call of CMakeLists.txt. From it the build
# writes velkaro_version.h, which gives it to the version resources and the About dialog
# (through the resource compiler), to the update check's request and user agent and to
# `vlk --version`, and the two manifests, whose assembly identities carry it. scripts/package
# reads the same value from the build to name the release.
#
# The maker's services know a version by one number, major * 100000 + minor * 1000 + patch
# (1.1.0 is 101000), so the minor part stays below 100 and the patch below 1000.
if(NOT PROJECT_VERSION MATCHES "^[0-9]+\\.[0-9]+\\.[0-9]+$"
   OR PROJECT_VERSION_MINOR GREATER_EQUAL 100 OR PROJECT_VERSION_PATCH GREATER_EQUAL 1000)
  message(FATAL_ERROR "version ${PROJECT_VERSION}: major.minor.patch, minor below 100, patch below 1000")
endif()
math(EXPR VELKARO_VERSION_NUMBER
     "${PROJECT_VERSION_MAJOR} * 100000 + ${PROJECT_VERSION_MINOR} * 1000 + ${PROJECT_VERSION_PATCH}")

set(VELKARO_GENERATED_DIR ${PROJECT_BINARY_DIR}/generated)
configure_file(${PROJECT_SOURCE_DIR}/cmake/velkaro_version.h.in
               ${VELKARO_GENERATED_DIR}/velkaro_version.h @ONLY)
foreach(manifest velkaro vlk)
  configure_file(${PROJECT_SOURCE_DIR}/resources/${manifest}.manifest.in
                 ${VELKARO_GENERATED_DIR}/${manifest}.manifest @ONLY)
endforeach()
add_library(velkaro_version INTERFACE)
target_include_directories(velkaro_version INTERFACE ${VELKARO_GENERATED_DIR})
