# The TLS benchmark makes its certificates with the tests' own certificate tooling.
target_link_libraries(bench_http_TlsGetThroughput PRIVATE test_support)
