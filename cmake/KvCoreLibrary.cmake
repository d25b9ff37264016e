# Static libraries, each compiled once and linked by the app, the tests, the tools and the
# benchmarks:
#   kv_juce  - the JUCE modules (their own warnings left alone)
#   the layers of the engine, one per folder (below)
#   kv_core  - the screens and the application, with the embedded resources

add_library(kv_juce STATIC)
target_link_libraries(kv_juce
    PRIVATE
        juce::juce_core
        juce::juce_events
        juce::juce_data_structures
        juce::juce_graphics
        juce::juce_gui_basics
        juce::juce_gui_extra
    PUBLIC
        juce::juce_recommended_config_flags
        ZLIB::ZLIB
        PNG::PNG
        JPEG::JPEG)
if(MINGW)
    # jpeglib.h needs a word for JUCE on Windows (see the header), and juce_gui_basics has
    # more sections than a plain COFF object may hold.
    target_include_directories(kv_juce BEFORE PRIVATE "${PROJECT_SOURCE_DIR}/cmake/mingw")
    target_compile_options(kv_juce PRIVATE -Wa,-mbig-obj)
endif()
target_compile_definitions(kv_juce
    PUBLIC
        JUCE_WEB_BROWSER=0
        JUCE_USE_CURL=0
        JUCE_DISPLAY_SPLASH_SCREEN=0
        JUCE_REPORT_APP_USAGE=0
        JUCE_INCLUDE_PNGLIB_CODE=0
        JUCE_INCLUDE_JPEGLIB_CODE=0
        JUCE_STANDALONE_APPLICATION=1
        JUCE_GLOBAL_MODULE_SETTINGS_INCLUDED=1
        JUCE_MODAL_LOOPS_PERMITTED=1
        JUCE_APPLICATION_NAME_STRING="kv_installer"
        JUCE_APPLICATION_VERSION_STRING="${PROJECT_VERSION}"
        # The installer's version, defined once: the project's version.
        KV_INSTALLER_VERSION="${PROJECT_VERSION}")
# Hand the modules' include paths and definitions on to whoever links kv_juce, as system
# headers, without handing on their sources (which would compile JUCE again).
target_include_directories(kv_juce SYSTEM INTERFACE
    $<TARGET_PROPERTY:kv_juce,INCLUDE_DIRECTORIES>)
target_compile_definitions(kv_juce INTERFACE
    $<TARGET_PROPERTY:kv_juce,COMPILE_DEFINITIONS>)
set_target_properties(kv_juce PROPERTIES POSITION_INDEPENDENT_CODE ON)

# The layers, bottom first, as cmake/layers.txt orders them. A folder whose CMakeLists.txt
# makes kv_<folder> is a library of its own, linking only the layers below it:
#   kv_identity     - the product's facts, the format table, where a bundle is (identity/)
#   kv_text, kv_pe  - checks of outside text; the version resource of a module
#   kv_archive      - reading and checking ZIP archives (archive/)
#   kv_platform     - stand-ins for Windows-only interfaces (platform/)
#   kv_fs           - handle-relative file work (fs/)
#   kv_install      - the install pass and the recovery (install/)
#   kv_messages     - the words of its outcomes, for the screen, screen readers and logs (messages/)
# The other folders, the screens and the application with the embedded resources, make
# kv_core: all of our code but the entry point (app/CMakeLists.txt makes the executable).
kv_read_layers(kv_layer_folders)
set(kv_layer_libraries "")
set(kv_sources "")
foreach(folder IN LISTS kv_layer_folders)
    if(EXISTS "${PROJECT_SOURCE_DIR}/${folder}/CMakeLists.txt")
        add_subdirectory("${PROJECT_SOURCE_DIR}/${folder}" "${CMAKE_BINARY_DIR}/${folder}")
    endif()
    if(TARGET kv_${folder})
        list(APPEND kv_layer_libraries kv_${folder})
    else()
        file(GLOB_RECURSE found CONFIGURE_DEPENDS
            "${PROJECT_SOURCE_DIR}/${folder}/*.cpp" "${PROJECT_SOURCE_DIR}/${folder}/*.h")
        list(APPEND kv_sources ${found})
    endif()
endforeach()
list(FILTER kv_sources EXCLUDE REGEX "/app/Main\\.cpp$")
kv_keep_system_sources(kv_sources)

add_library(kv_core STATIC ${kv_sources})
target_include_directories(kv_core PUBLIC "${PROJECT_SOURCE_DIR}")
target_link_libraries(kv_core PUBLIC kv_juce ${kv_layer_libraries})
kv_enable_warnings(kv_core)

# Every resource the installer embeds must be there: a missing one stops the configure step.
set(kv_res "${PROJECT_SOURCE_DIR}/resources")
set(kv_embedded
    SFProRoundedRegular_otf  "${KV_FONT_REGULAR}"
    eula_txt                 "${kv_res}/eula.txt"
    CHANGELOG_md             "${kv_res}/CHANGELOG.md")
# Each format's archive (vst3.zip as vst3_zip) and its badge (resources/icon_vst3.svg).
foreach(archive IN LISTS KV_ARCHIVE_NAMES)
    get_filename_component(stem "${archive}" NAME_WE)
    list(APPEND kv_embedded ${stem}_zip "${KV_ARCHIVE_DIR}/${archive}" icon_${stem}_svg "${kv_res}/icon_${stem}.svg")
endforeach()
foreach(name icon_install icon_discord icon_mail icon_warning logo_korvane)
    list(APPEND kv_embedded ${name}_svg "${kv_res}/${name}.svg")
endforeach()

# The archives are made by the build unless the product's own are given.
set(kv_generated_archives "")
if(NOT KV_PRODUCT_ARCHIVES_DIR)
    set(kv_generated_archives ${KV_ARCHIVES})
endif()
list(LENGTH kv_embedded kv_embedded_length)
math(EXPR kv_last "${kv_embedded_length} - 1")
foreach(i RANGE 1 ${kv_last} 2)
    list(GET kv_embedded ${i} file)
    if(NOT EXISTS "${file}" AND NOT file IN_LIST kv_generated_archives)
        message(FATAL_ERROR "A resource to embed is missing: ${file}")
    endif()
endforeach()

add_dependencies(kv_core kv_payload_archives)
include(KvArchiveCheck)
kv_add_embedded_resources(kv_core ${kv_embedded})
