# Warnings are errors in every build, ours and the cross builds alike.
function(show_warnings target)
    target_compile_options(${target} PRIVATE -Wall -Wextra -Wpedantic -Wshadow -Werror)
endfunction()

# Third-party implementation units (stb) are compiled as the vendor wrote them: their warnings
# are not ours to fix, so they are silenced for those files alone. stb's JPEG writer shifts
# negative coefficients on purpose (two's complement bit packing), so the sanitizer builds
# leave that one check out of these files; every other check stays on.
function(show_third_party_sources)
    set_source_files_properties(${ARGN} PROPERTIES COMPILE_OPTIONS "-w;-fno-sanitize=shift")
endfunction()
