# What ships is the same bytes from any clone of a commit, built in any folder at any time:
# no folder of the build machine in the code, the symbol files or their names, and no link
# time in the PE header. The header's checksum and the link to the symbol file (a CRC of it)
# then come out the same too.
add_compile_options(-ffile-prefix-map=${PROJECT_SOURCE_DIR}=. -ffile-prefix-map=${PROJECT_BINARY_DIR}=build)
add_link_options(-Wl,--no-insert-timestamp)
