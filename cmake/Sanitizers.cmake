# AddressSanitizer and UndefinedBehaviorSanitizer over the whole build: every library,
# test and program of the project is compiled and linked with them. Libraries from
# the system (Qt, its web engine, libcurl, Boost) are not instrumented; the web
# engine's own processes run as they are.
option(PRICELOOKUP_SANITIZE "Build everything with AddressSanitizer and UndefinedBehaviorSanitizer" OFF)

if(PRICELOOKUP_SANITIZE)
  if(PRICELOOKUP_FUZZ)
    message(FATAL_ERROR "PRICELOOKUP_SANITIZE and PRICELOOKUP_FUZZ are separate builds; "
                        "the fuzz targets bring their own sanitizers")
  endif()
  set(pricelookup_sanitizer_flags
    -fsanitize=address,undefined
    # An undefined behaviour ends the program, so that a test sees it fail.
    -fno-sanitize-recover=undefined
    # The dynamic-type check needs the type information of every class it meets; Qt
    # keeps that of its private classes (the accessibility interfaces behind a
    # QAccessibleInterface pointer, say) inside its libraries, so each call into one
    # would be reported although it is sound.
    -fno-sanitize=vptr
    -fno-omit-frame-pointer)
  add_compile_options(${pricelookup_sanitizer_flags})
  add_link_options(-fsanitize=address,undefined -fno-sanitize=vptr)

  # The sanitizers' run-time settings, built into every program (see the file for
  # why each is set), so that a program started by hand behaves as under ctest.
  add_library(pricelookup_sanitizer_options OBJECT ${CMAKE_CURRENT_LIST_DIR}/sanitizer_options.cpp)
  link_libraries(pricelookup_sanitizer_options)
endif()
