# The plain Widgets window the peers script measures as the floor: Qt Widgets only.
if(TARGET bench_peers_WidgetsWindow)
  target_link_libraries(bench_peers_WidgetsWindow PRIVATE Qt6::Widgets)
endif()
