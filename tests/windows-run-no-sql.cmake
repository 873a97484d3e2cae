# Fails when a source of the window library includes <QSqlQuery>: window code
# reads widgets and calls the data layer, which alone runs SQL.
#   cmake -DSOURCES="a.cpp;b.h;..." -P windows-run-no-sql.cmake
set(offenders "")
foreach(source IN LISTS SOURCES)
    if(source MATCHES "\\.(cpp|h)$" AND EXISTS "${source}")
        file(STRINGS "${source}" hits REGEX "#include[ \t]*<QSql(Query|Result)>")
        if(hits)
            list(APPEND offenders "${source}")
        endif()
    endif()
endforeach()
if(offenders)
    message(FATAL_ERROR "Window code runs SQL in: ${offenders}")
endif()
