# Every library comes from Debian's packages (see scripts/setup).
find_package(PkgConfig REQUIRED)
find_package(Threads REQUIRED)
pkg_check_modules(SDL2 REQUIRED IMPORTED_TARGET sdl2)
pkg_check_modules(SDL2_TTF REQUIRED IMPORTED_TARGET SDL2_ttf)
# Asked only where SDL's X11 driver leaves a question open (whether a window manager handles full screen).
pkg_check_modules(X11 REQUIRED IMPORTED_TARGET x11)
pkg_check_modules(PNG REQUIRED IMPORTED_TARGET libpng)
pkg_check_modules(ZLIB REQUIRED IMPORTED_TARGET zlib)
pkg_check_modules(EXPAT REQUIRED IMPORTED_TARGET expat)
pkg_check_modules(TREMOR REQUIRED IMPORTED_TARGET vorbisidec)
pkg_check_modules(MPG123 REQUIRED IMPORTED_TARGET libmpg123)
pkg_check_modules(XMP REQUIRED IMPORTED_TARGET libxmp)
find_package(JPEG REQUIRED)
