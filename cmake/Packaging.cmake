# The Debian package, made by CPack from what `cmake --install` puts in place (scripts/package.sh
# configures a build for /usr and runs it). Its dependencies are read off the binaries by
# dpkg-shlibdeps.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME zelmora)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "The Zelmora developers")
set(CPACK_PACKAGE_CONTACT "The Zelmora developers <zelmora@zelmora-news.example>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "news headline reader with a skinned window")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT) # zelmora_<version>_<arch>.deb
set(CPACK_DEBIAN_PACKAGE_SECTION news)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "https://zelmora-news.example/")
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_GENERATE_SHLIBS OFF)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
set(CPACK_STRIP_FILES ON)
# The long description (the summary above is its first line); CPack indents every line.
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION "Zelmora reads the RSS feeds that a news portal publishes, one feed per news
category, lists the headlines of the chosen category in a side list and shows
the chosen article in a browser pane of the same window. Headline lists can be
saved to and loaded from plain text files. The window is drawn by the
program's own skin engine in five styles or from a theme file.

zelmora-cli runs the reader's HTTP client, feed cutting and theme files from a
terminal.")
include(CPack)
