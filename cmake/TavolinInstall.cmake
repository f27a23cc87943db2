# What `cmake --install` puts into a release (tools/package.sh stages it and
# packs the archives). Windows: every file at the top of the folder that the
# zip unpacks into, texts with CR LF line ends for Notepad. Linux: the usual
# bin/ and share/ tree, so the same rules install the command line tools on
# a machine.
set(generated ${PROJECT_BINARY_DIR}/generated)
if(TAVOLIN_WINDOWS)
  if(TARGET tavolin)
    configure_file(docs/release/README.txt.in ${generated}/README.txt @ONLY NEWLINE_STYLE CRLF)
    configure_file(LICENSE ${generated}/LICENSE @ONLY NEWLINE_STYLE CRLF)
    install(TARGETS tavolin tavolin-list tavolin-make-demo RUNTIME DESTINATION .)
    install(FILES ${generated}/README.txt ${generated}/LICENSE DESTINATION .)
  endif()
else()
  include(GNUInstallDirs)
  configure_file(docs/release/tavolin-list.1.in ${generated}/tavolin-list.1 @ONLY)
  install(TARGETS tavolin-list tavolin-make-demo RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
  install(FILES ${generated}/tavolin-list.1 DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
  install(FILES LICENSE DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/doc/tavolin)
endif()
