# The feed-cutting benchmark compares with a full XML parse by pugixml (benchmark only).
find_package(pugixml QUIET)
if(pugixml_FOUND AND TARGET bench_reader_FeedCutting)
  target_link_libraries(bench_reader_FeedCutting PRIVATE pugixml::pugixml)
  target_compile_definitions(bench_reader_FeedCutting PRIVATE ZEL_HAVE_PUGIXML=1)
endif()
