# The 64-bit twin of the same sources, for machines that run no 32-bit x86 code and so no
# 32-bit Wine: built and tested there, never shipped.
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(MINGW_TRIPLE x86_64-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw.cmake)
