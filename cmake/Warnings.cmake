# Shared compile options: strict warnings everywhere, sanitizers on request.
function(velorium_warnings target)
  if(MSVC)
    # Warnings, not errors: this toolchain is not part of our CI.
    target_compile_options(${target} PRIVATE /W4 /permissive- /utf-8)
  else()
    target_compile_options(${target} PRIVATE -Wall -Wextra -Werror)
  endif()
endfunction()

if(VELORIUM_SANITIZE AND NOT WIN32)
  add_compile_options(-fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=all)
  add_link_options(-fsanitize=address,undefined)
endif()

if(WIN32 AND NOT MSVC)
  # A self-contained executable: no libstdc++ or libgcc DLLs to ship beside it.
  add_link_options(-static -static-libgcc -static-libstdc++)
endif()
