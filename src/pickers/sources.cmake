list(APPEND VARNEL_SOURCES
    pickers/LoginParent_p.h
    pickers/LoginParent.cpp
    pickers/MacLevelComboBox.cpp
)
list(APPEND VARNEL_PUBLIC_HEADERS
    ${PROJECT_SOURCE_DIR}/include/MacLevelComboBox.h
)
