# Programs for Windows 95 and NT 4.0 as first sold: no C runtime (Windows 95 has no
# msvcrt.dll), nothing newer than an 80386, nothing that needs start-up code.

# The code: an 80386 at least, small, no exceptions, unwind tables or guarded statics.
# With -nostdlib there is no memcpy or memset: a large struct copy or zeroing that the
# compiler turns into one of them fails to link, so copy such records field by field.
# The 64-bit twin (cmake/mingw-x86_64.cmake) takes the same flags but for the processor.
set(WINDOWS4_CODE_FLAGS -Os -fno-exceptions -fno-rtti -fno-asynchronous-unwind-tables
    -fno-threadsafe-statics -fno-ident -ffunction-sections -fdata-sections)
if(CMAKE_SIZEOF_VOID_P EQUAL 4)
  list(PREPEND WINDOWS4_CODE_FLAGS -march=i386)
  # a 32-bit WINAPI function without arguments is decorated _name@0
  set(WINDOWS4_ENTRY_FORMAT "_%s@0")
else()
  set(WINDOWS4_ENTRY_FORMAT "%s")
endif()

# The image of an executable target whose own code defines `entry` (a WINAPI function
# without arguments that ends with ExitProcess): only the four system DLLs, none of libgcc
# (built for newer processors); version 4.0, no relocations (an executable always gets its
# preferred base), none of the later systems' flags; no time stamp, so that the same
# sources give the same bytes. The link map names the code's addresses for the image test.
function(link_for_windows4 target entry)
  target_compile_options(${target} PRIVATE ${WINDOWS4_CODE_FLAGS})
  string(REPLACE "%s" ${entry} symbol ${WINDOWS4_ENTRY_FORMAT})
  target_link_options(${target} PRIVATE -nostdlib -Wl,-e,${symbol} -Wl,--gc-sections
      -Wl,--subsystem,windows:4.0 -Wl,--major-os-version,4 -Wl,--minor-os-version,0
      -Wl,--disable-dynamicbase,--disable-nxcompat,--disable-reloc-section,--no-insert-timestamp
      -Wl,-Map,${CMAKE_CURRENT_BINARY_DIR}/${target}.map)
  target_link_libraries(${target} PRIVATE user32 gdi32 shell32 kernel32)
  # stripped after the link rather than by it: ld leaves the resource section's raw size
  # unpadded, and strip, rewriting the image, pads every section to the file alignment
  # (and stamps the time it is told)
  add_custom_command(TARGET ${target} POST_BUILD
      COMMAND ${CMAKE_COMMAND} -E env SOURCE_DATE_EPOCH=0 ${CMAKE_STRIP} --strip-all $<TARGET_FILE:${target}>)
endfunction()
