list(APPEND VARNEL_SOURCES
    file/SpecialAttributesListModel.cpp
    file/SpecialAttributesProxyListModel_p.h
    file/SpecialAttributesProxyListModel.cpp
)
list(APPEND VARNEL_PUBLIC_HEADERS
    ${PROJECT_SOURCE_DIR}/include/SpecialAttributesListModel.h
)
