# The Windows packages: a portable .zip and an installer made with NSIS. Both hold Vantrel.exe,
# which needs no DLL beside it, the licence and a short readme.
configure_file(${CMAKE_CURRENT_LIST_DIR}/README.txt.in windows/README.txt @ONLY NEWLINE_STYLE CRLF)
configure_file(${PROJECT_SOURCE_DIR}/LICENSE windows/LICENSE.txt NEWLINE_STYLE CRLF)
install(FILES ${CMAKE_CURRENT_BINARY_DIR}/windows/README.txt
              ${CMAKE_CURRENT_BINARY_DIR}/windows/LICENSE.txt
        DESTINATION .)

set(CPACK_GENERATOR ZIP NSIS)
set(CPACK_PACKAGE_NAME Vantrel)
set(CPACK_PACKAGE_VENDOR Vantrel)
set(CPACK_PACKAGE_VERSION ${VANTREL_VERSION_TEXT})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Live display of a data glove on a serial line")
set(CPACK_PACKAGE_FILE_NAME Vantrel-${VANTREL_VERSION_TEXT}-windows-x64)
set(CPACK_PACKAGE_INSTALL_DIRECTORY Vantrel)
set(CPACK_PACKAGE_INSTALL_REGISTRY_KEY Vantrel)
set(CPACK_RESOURCE_FILE_LICENSE ${CMAKE_CURRENT_BINARY_DIR}/windows/LICENSE.txt)
set(CPACK_STRIP_FILES ON)

# The Start-menu entry, with the program's own icon, and an uninstaller in Windows' list of
# programs. An administrator installs for all users (Program Files, HKLM); anyone else for
# themselves, into a folder of their own (/D=... when silent).
set(CPACK_PACKAGE_EXECUTABLES Vantrel "Vantrel")
set(CPACK_NSIS_EXECUTABLES_DIRECTORY .)
set(CPACK_NSIS_PACKAGE_NAME Vantrel)
set(CPACK_NSIS_DISPLAY_NAME Vantrel)
set(CPACK_NSIS_INSTALL_ROOT "$PROGRAMFILES64")
set(CPACK_NSIS_MUI_ICON ${CMAKE_CURRENT_LIST_DIR}/vantrel.ico)
set(CPACK_NSIS_MUI_UNIICON ${CMAKE_CURRENT_LIST_DIR}/vantrel.ico)
set(CPACK_NSIS_INSTALLED_ICON_NAME Vantrel.exe)
set(CPACK_NSIS_ENABLE_UNINSTALL_BEFORE_INSTALL ON)
set(CPACK_NSIS_COMPRESSOR "/SOLID lzma")
# A 64-bit installer for a 64-bit program (Debian's NSIS has the stubs).
set(CPACK_NSIS_DEFINES "RequestExecutionLevel highest\nTarget amd64-unicode")
include(CPack)
