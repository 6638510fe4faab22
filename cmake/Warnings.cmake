# Project-wide compile settings, applied through one interface target so that every
# target of the tree gets the same warnings, sanitizers and floating-point rules.
# The warnings alone are `tarnex_warnings`, for the build-time tools: they run during the
# build and are not part of what the sanitizers check.
add_library(tarnex_warnings INTERFACE)
target_compile_options(tarnex_warnings INTERFACE -Wall -Wextra -Wpedantic -Wshadow -Wfloat-conversion)
if(TARNEX_WERROR)
  target_compile_options(tarnex_warnings INTERFACE -Werror)
endif()

add_library(tarnex_settings INTERFACE)
target_link_libraries(tarnex_settings INTERFACE tarnex_warnings)
# Single-precision results must match IEEE arithmetic to the last displayed digit:
# never let the compiler reassociate or contract floating-point expressions.
target_compile_options(tarnex_settings INTERFACE -fno-fast-math -ffp-contract=off)
if(TARNEX_SANITIZE)
  target_compile_options(tarnex_settings INTERFACE -fsanitize=address,undefined
                                                   -fno-sanitize-recover=all -fno-omit-frame-pointer)
  target_link_options(tarnex_settings INTERFACE -fsanitize=address,undefined)
endif()
