# The Debian package, made from the install rules: in a build folder,
# `cpack` (or `cmake --build . --target package`) writes
# kvl-pws_<version>_amd64.deb there.
set(KVL_MAINTAINER "KVL_PWS maintainers <maintainers@users.noreply.c-seed-2c41699e.example>")
set(packaging ${PROJECT_SOURCE_DIR}/packaging)
set(staged ${PROJECT_BINARY_DIR}/packaging)

# SOURCE_DATE_EPOCH, when set, fixes both dates (reproducible packages).
string(TIMESTAMP KVL_RELEASE_DATE "%Y-%m-%d" UTC)
string(TIMESTAMP KVL_CHANGELOG_DATE "%a, %d %b %Y %H:%M:%S +0000" UTC)
configure_file(${packaging}/fr.kvl_pws.kvl_pws.metainfo.xml.in ${staged}/fr.kvl_pws.kvl_pws.metainfo.xml @ONLY)
configure_file(${packaging}/kvl-pws.1.in ${staged}/kvl-pws.1 @ONLY)
configure_file(${packaging}/changelog.in ${staged}/changelog @ONLY)

# Debian wants the manual page and the changelog compressed, with no name or
# time stamp inside.
find_program(GZIP gzip REQUIRED)
add_custom_command(OUTPUT ${staged}/kvl-pws.1.gz ${staged}/changelog.gz
  COMMAND ${GZIP} -9nkf ${staged}/kvl-pws.1 ${staged}/changelog
  DEPENDS ${staged}/kvl-pws.1 ${staged}/changelog
  COMMENT "Manual page and changelog for the package")
add_custom_target(kvl_packaging ALL DEPENDS ${staged}/kvl-pws.1.gz ${staged}/changelog.gz)

install(FILES ${staged}/fr.kvl_pws.kvl_pws.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
install(FILES ${staged}/kvl-pws.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
install(FILES ${packaging}/copyright ${staged}/changelog.gz DESTINATION ${KVL_DOCDIR})

set(CPACK_GENERATOR DEB)
set(CPACK_SOURCE_GENERATOR "")
set(CPACK_PACKAGE_NAME kvl-pws)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT ${KVL_MAINTAINER})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "configuration des afficheurs de vitesse du vent à carte KVL")
set(CPACK_PACKAGE_DESCRIPTION
    "KVL_PWS met en service les panneaux d'affichage de la vitesse du vent
pilotés par une carte calculateur KVL, reliés au PC par un port série :
détection du port, lecture, modification et programmation des paramètres,
vitesse instantanée et maximum, mémoire brute sauvegardée avant chaque
écriture, fiche de mise en service en PDF. Interface en français.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
    OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION electronics)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Loaded by Qt while the program runs, so unseen by dpkg-shlibdeps: the
# display plugins (needed to start), Qt's French texts, the icon's SVG reader
# and the desktop's document opener (for KVL_PWS.doc).
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "qt6-translations-l10n, libqt6svg6, xdg-utils")
include(CPack)
