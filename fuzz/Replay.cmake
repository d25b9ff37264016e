# In the ordinary test build: each fuzz target's entry point replayed over its committed
# inputs (fuzz/corpus/<target> and fuzz/regressions/<target>), so every input that ever
# failed stays a test.
set(kv_fuzz_dir "${PROJECT_SOURCE_DIR}/fuzz")
set(kv_fuzz_targets pe_version release_notes settings archive)
set(kv_fuzz_sources PeVersionFuzzer.cpp ReleaseNotesFuzzer.cpp SettingsFuzzer.cpp ArchiveFuzzer.cpp)

foreach(target source IN ZIP_LISTS kv_fuzz_targets kv_fuzz_sources)
    add_executable(kv_fuzz_replay_${target} "${kv_fuzz_dir}/ReplayMain.cpp" "${kv_fuzz_dir}/${source}")
    target_link_libraries(kv_fuzz_replay_${target} PRIVATE kv_core)
    target_include_directories(kv_fuzz_replay_${target} PRIVATE "${kv_fuzz_dir}")
    kv_enable_warnings(kv_fuzz_replay_${target})

    add_test(NAME fuzz_regressions.${target}
        COMMAND kv_fuzz_replay_${target} "${kv_fuzz_dir}/corpus/${target}" "${kv_fuzz_dir}/regressions/${target}")
endforeach()
