# 64-bit Windows: the same sources, for machines whose kernel cannot start
# Wine's 32-bit loader (the tests then run this build under 64-bit Wine).
set(MINGW_TRIPLE x86_64-w64-mingw32)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-common.cmake)
