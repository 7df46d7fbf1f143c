# Cross build for 32-bit Windows: the release exe. This machine cannot run it.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR i686)
set(TRIPLE i686-w64-mingw32)
# The win32 thread model: a -posix runtime brings winpthreads, which imports
# GetTickCount64 and so keeps the exe from starting on Windows XP. The product
# has no std::mutex or std::thread (see src/base/lock.h).
set(CMAKE_C_COMPILER ${TRIPLE}-gcc-win32)
set(CMAKE_CXX_COMPILER ${TRIPLE}-g++-win32)
set(CMAKE_RC_COMPILER ${TRIPLE}-windres)
set(CMAKE_FIND_ROOT_PATH /usr/${TRIPLE})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
