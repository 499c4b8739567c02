# Warnings apply to the project's own targets only, not to third-party code.
function(morvex_warnings target)
  target_compile_options(${target} PRIVATE -Wall -Wextra)
endfunction()
