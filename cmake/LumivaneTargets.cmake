# Shared settings for the project's own targets.

function(lumivane_warnings target)
    target_compile_options(${target} PRIVATE -Wall -Wextra -Wpedantic -Wshadow
        -Wnon-virtual-dtor -Wold-style-cast -Wcast-align -Woverloaded-virtual
        -Wconversion -Wno-sign-conversion -Werror)
endfunction()

function(lumivane_sanitize target)
    if(LUMIVANE_SANITIZE)
        target_compile_options(${target} PRIVATE -fsanitize=address,undefined
            -fno-sanitize-recover=undefined -fno-omit-frame-pointer)
        target_link_options(${target} PRIVATE -fsanitize=address,undefined)
    endif()
endfunction()

# One test executable per source file. The file name decides the level:
#   tst_*.cpp   unit         pure logic, no display, each under 2 s
#   itst_*.cpp  integration  real mpv / web engine / X11 / D-Bus, under Xvfb
#   e2e_*.cpp   e2e          the built application as a process, under Xvfb
# Tests named in SLOW (crash-safety loops and the like) are labelled slow instead.
function(lumivane_add_tests)
    cmake_parse_arguments(ARG "" "" "LIBS;SLOW" ${ARGN})
    file(GLOB sources CONFIGURE_DEPENDS
        "${CMAKE_CURRENT_SOURCE_DIR}/tst_*.cpp"
        "${CMAKE_CURRENT_SOURCE_DIR}/itst_*.cpp"
        "${CMAKE_CURRENT_SOURCE_DIR}/e2e_*.cpp")
    find_program(XVFB_RUN xvfb-run)
    foreach(source IN LISTS sources)
        get_filename_component(name "${source}" NAME_WE)
        add_executable(${name} "${source}")
        target_link_libraries(${name} PRIVATE ${ARG_LIBS} Qt6::Test)
        lumivane_warnings(${name})
        lumivane_sanitize(${name})
        if(name MATCHES "^tst_")
            set(label unit)
            add_test(NAME ${name} COMMAND ${name})
            set_tests_properties(${name} PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen")
        else()
            if(name MATCHES "^itst_")
                set(label integration)
            else()
                set(label e2e)
            endif()
            if(NOT XVFB_RUN)
                message(FATAL_ERROR "xvfb-run is needed for ${name}")
            endif()
            add_test(NAME ${name} COMMAND ${XVFB_RUN} -a -s "-screen 0 1280x720x24" $<TARGET_FILE:${name}>)
        endif()
        if(name IN_LIST ARG_SLOW)
            set(label slow)
        endif()
        set_tests_properties(${name} PROPERTIES LABELS ${label} TIMEOUT 600)
    endforeach()
endfunction()

# Makes target see the headers of folder as "<name>/Header.h", and nothing else beside it:
# each folder gets an include root of its own in the build tree.
function(lumivane_layer_include target folder name)
    set(root "${CMAKE_BINARY_DIR}/include/${name}")
    file(MAKE_DIRECTORY "${root}")
    if(NOT EXISTS "${root}/${name}")
        file(CREATE_LINK "${folder}" "${root}/${name}" SYMBOLIC)
    endif()
    target_include_directories(${target} PUBLIC "${root}")
endfunction()

# Makes an executable hand all of platform to the web engine module it loads: the module
# uses platform's classes without a copy of its own, and may use any of them, whether the
# executable itself calls them or not.
function(lumivane_export_platform target)
    set_target_properties(${target} PROPERTIES ENABLE_EXPORTS ON)
    target_link_options(${target} PRIVATE "LINKER:--whole-archive"
        "$<TARGET_FILE:lumivane_platform>" "LINKER:--no-whole-archive")
endfunction()
