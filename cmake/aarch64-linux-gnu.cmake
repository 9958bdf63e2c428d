# Cross-compiles for 64-bit ARM Linux with Debian's cross compiler
# (g++-aarch64-linux-gnu) against the arm64 packages of the libraries,
# installed side by side with the build machine's through multiarch
# (dpkg --add-architecture arm64). The tests run under qemu-user.
set(CMAKE_SYSTEM_NAME Linux)
set(CMAKE_SYSTEM_PROCESSOR aarch64)
set(CMAKE_C_COMPILER aarch64-linux-gnu-gcc)
set(CMAKE_CXX_COMPILER aarch64-linux-gnu-g++)

# Multiarch keeps the arm64 libraries in /usr/lib/aarch64-linux-gnu and
# shares /usr/include; this makes find_library and find_package look there
# and never at the build machine's own libraries. Programs run during the
# build (64tass, gzip) are the build machine's.
set(CMAKE_LIBRARY_ARCHITECTURE aarch64-linux-gnu)
set(ENV{PKG_CONFIG_LIBDIR} /usr/lib/aarch64-linux-gnu/pkgconfig:/usr/share/pkgconfig)

# Test programs (and GoogleTest's discovery of their tests) run through
# qemu; -L points it at the cross toolchain's loader and C++ runtime, and the
# arm64 libraries are found in their multiarch folders.
set(CMAKE_CROSSCOMPILING_EMULATOR qemu-aarch64;-L;/usr/aarch64-linux-gnu)
