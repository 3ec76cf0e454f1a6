# Where a release's zip is published: {version} and {file} stand for the version and the zip's
# name. scripts/package reads it from the build's cache for the bill of materials and the winget
# manifest; the build itself does not use it.
set(VELKARO_RELEASE_ADDRESS
    "https://quenorith.example/velkarostrandemilquorbenix/download/{version}/{file}" CACHE STRING
    "Address pattern of a published release zip")
