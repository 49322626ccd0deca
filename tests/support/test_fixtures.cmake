# tarnwell_test_fixtures: automata, a run panel and scripts of run actions
# written out for the tests and the benchmarks; headers only. Included by
# tests/support, or by bench/ when the tests are not built.
add_library(tarnwell_test_fixtures INTERFACE
    ${CMAKE_CURRENT_LIST_DIR}/test_automata.h ${CMAKE_CURRENT_LIST_DIR}/plain_run_panel.h
    ${CMAKE_CURRENT_LIST_DIR}/run_script.h)
target_include_directories(tarnwell_test_fixtures INTERFACE ${CMAKE_CURRENT_LIST_DIR})
target_link_libraries(tarnwell_test_fixtures INTERFACE tarnwell_model tarnwell_run)
