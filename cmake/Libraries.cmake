# Each source folder is one static library of the platform-neutral code in it. Files named
# *_win32.cpp, *_sdl.cpp, *_egl.cpp or *_web.cpp are backends of a platform contract and go into
# show_<folder>_<backend> instead, so the neutral code never sees an OS header. Files named
# third_party_*.cpp compile a vendor's implementation (stb) and keep the vendor's warnings.
set(SHOW_BACKENDS win32 sdl egl web)

function(show_folder_library folder)
    file(GLOB sources CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/src/${folder}/*.cpp)
    foreach(backend IN LISTS SHOW_BACKENDS)
        list(FILTER sources EXCLUDE REGEX "_${backend}\\.cpp$")
    endforeach()
    list(FILTER sources EXCLUDE REGEX "/main_[a-z0-9]+\\.cpp$")
    if(sources)
        add_library(show_${folder} STATIC ${sources})
        target_link_libraries(show_${folder} PUBLIC ${ARGN})
        show_warnings(show_${folder})
        set(vendor ${sources})
        list(FILTER vendor INCLUDE REGEX "/third_party_[^/]*\\.cpp$")
        if(vendor)
            show_third_party_sources(${vendor})
        endif()
    else()
        add_library(show_${folder} INTERFACE)
        target_link_libraries(show_${folder} INTERFACE ${ARGN})
    endif()
endfunction()

# The backend of a folder, as an object library so its objects always reach the link whatever
# the order of the libraries that call into it; an INTERFACE stand-in while it has no file.
function(show_folder_backend folder backend)
    file(GLOB sources CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/src/${folder}/*_${backend}.cpp)
    list(FILTER sources EXCLUDE REGEX "/main_[a-z0-9]+\\.cpp$")
    if(sources)
        add_library(show_${folder}_${backend} OBJECT ${sources})
        target_link_libraries(show_${folder}_${backend} PUBLIC show_${folder} ${ARGN})
        show_warnings(show_${folder}_${backend})
    else()
        add_library(show_${folder}_${backend} INTERFACE)
        target_link_libraries(show_${folder}_${backend} INTERFACE show_${folder} ${ARGN})
    endif()
endfunction()
