# Warnings for the project's own targets; third-party headers come in as system includes.
function(palettor_warnings target)
  target_compile_options(${target} PRIVATE -Wall -Wextra -Wpedantic -Wshadow -Wconversion
                                           -Wsign-conversion -Wnon-virtual-dtor -Wold-style-cast)
  if(PALETTOR_WERROR)
    target_compile_options(${target} PRIVATE -Werror)
  endif()
endfunction()
