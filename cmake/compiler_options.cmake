# Warnings and per-target flags shared by every target of the project.
add_compile_options(-Wall -Wextra -Wno-unused-parameter)

if(WIN32)
  enable_language(RC)
  add_compile_definitions(_WIN32_WINNT=0x0601 WINVER=0x0601 NOMINMAX STRICT)
  # The shipped DLL and the test programs carry their C++ run time, so the host and Wine
  # need no mingw DLLs beside them.
  add_link_options(-static -static-libgcc -static-libstdc++)
  if(TAMBRE_TARGET STREQUAL "win32")
    # Doubles in SSE2 registers, as on x64: the x87 unit's wider intermediates round values
    # differently and quiet a signalling NaN when loading it. Hosts may call with the stack
    # aligned to 4 bytes only, so functions that need more realign it themselves.
    add_compile_options(-msse2 -mfpmath=sse -mstackrealign)
  endif()
elseif(TAMBRE_TARGET STREQUAL "native")
  set(TAMBRE_SANITIZERS -fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer)
  add_compile_options(${TAMBRE_SANITIZERS})
  add_link_options(${TAMBRE_SANITIZERS})
elseif(TAMBRE_TARGET STREQUAL "fuzz")
  add_compile_options(-fsanitize=fuzzer-no-link,address,undefined -fno-omit-frame-pointer)
  add_link_options(-fsanitize=address,undefined)
endif()
