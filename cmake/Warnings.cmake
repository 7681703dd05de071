# Project-wide warning set; applied per target so third-party code is unaffected.
function(vorlie_warnings target)
    target_compile_options(${target} PRIVATE -Wall -Wextra -Wpedantic)
    if(VORLIE_WERROR)
        target_compile_options(${target} PRIVATE -Werror)
    endif()
endfunction()
