# SHOW_SANITIZE: a comma-separated list for -fsanitize (e.g. "address,undefined" or "thread").
set(SHOW_SANITIZE "" CACHE STRING "Sanitizers for the Linux build")
if(SHOW_SANITIZE)
    add_compile_options(-fsanitize=${SHOW_SANITIZE} -fno-omit-frame-pointer -fno-sanitize-recover=all)
    add_link_options(-fsanitize=${SHOW_SANITIZE})
endif()
