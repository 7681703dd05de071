# Project-wide warning set; applied per target so third-party code is unaffected.
function(vorlie_warnings target)
    target_compile_options(${target} PRIVATE -Wall -Wextra -Wpedantic)
    if(VORLIE_WERROR)
        target_compile_options(${target} PRIVATE -Werror)
    endif()
    # Qt 6.4's ahead-of-time binding compiler writes some bindings to
    # properties of QML types from other modules wrongly (they stay empty);
    # byte code alone is correct.
    set_target_properties(${target} PROPERTIES QT_QMLCACHEGEN_ARGUMENTS --only-bytecode)
endfunction()
