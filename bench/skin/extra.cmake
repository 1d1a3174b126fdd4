# The menu benchmark opens the reader's own menu tree.
target_link_libraries(bench_skin_MenuTitleBarBench PRIVATE reader)
