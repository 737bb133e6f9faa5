# One set of warnings for every target of ours; CMAKE_COMPILE_WARNING_AS_ERROR (set by the
# presets) turns them into errors. Third-party code built in-tree opts out per target.
add_compile_options(
  -Wall
  -Wextra
  -Wpedantic
  -Wshadow
  $<$<COMPILE_LANGUAGE:CXX>:-Wnon-virtual-dtor>
  $<$<COMPILE_LANGUAGE:CXX>:-Woverloaded-virtual>
  -Wcast-qual
  -Wformat=2
  -Wimplicit-fallthrough
  # Layout and test tables name only the fields that differ from the defaults.
  -Wno-missing-field-initializers
)
if(WIN32)
  # ANSI entry points throughout; no min/max macros to fight std::min.
  add_compile_definitions(NOMINMAX WIN32_LEAN_AND_MEAN _WIN32_WINNT=0x0601 WINVER=0x0601)
endif()
