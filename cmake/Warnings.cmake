# Every target of ours compiles with warnings as errors.
function(glider_warnings target)
  target_compile_options(${target} PRIVATE -Wall -Wextra -Werror -Wno-unused-parameter -Wno-missing-field-initializers)
endfunction()
