# Warnings are set per target, so that third-party code pulled in by a target's
# dependencies is never built with them.
function(pricelookup_warnings target)
  target_compile_options(${target} PRIVATE
    -Wall -Wextra -Wpedantic -Wshadow -Wnon-virtual-dtor -Wold-style-cast
    -Wcast-align -Woverloaded-virtual -Wconversion -Wsign-conversion
    -Wnull-dereference -Wdouble-promotion -Wformat=2 -Wimplicit-fallthrough)
  # GCC 12 at -O3 (the Release build) reports -Wrestrict on std::string's own copies
  # wherever a literal and a string are joined: a false positive of its inliner
  # (GCC bug 105329). There the warning says nothing about this code.
  target_compile_options(${target} PRIVATE
    $<$<AND:$<CXX_COMPILER_ID:GNU>,$<VERSION_LESS:$<CXX_COMPILER_VERSION>,13>,$<CONFIG:Release>>:-Wno-restrict>)
  if(PRICELOOKUP_WARNINGS_AS_ERRORS)
    target_compile_options(${target} PRIVATE -Werror)
  endif()
endfunction()

# Off by default, so that a user's build with another compiler or another build type
# only warns; the project's own test command and CI turn it on.
option(PRICELOOKUP_WARNINGS_AS_ERRORS "Treat compiler warnings as errors" OFF)

# The program's texts are GBK bytes, as on a Simplified Chinese desktop. The sources
# are UTF-8; GCC compiles their narrow string literals to GBK, so that a literal such
# as "搜索" in the code is the GBK text the program works with. The execution
# character set named is GB18030, GBK's superset, because the standard headers hold
# literals (such as the micro sign) that GBK lacks; for the characters of the
# program's own texts the two encodings agree, which the tests check text by text.
function(pricelookup_gbk_literals target)
  if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU")
    target_compile_options(${target} PRIVATE -finput-charset=UTF-8 -fexec-charset=GB18030)
  else()
    message(WARNING "${target}: only GCC compiles string literals to GBK; "
                    "Chinese texts of this build will be UTF-8")
  endif()
endfunction()
