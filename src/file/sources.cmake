list(APPEND VARNEL_SOURCES
    file/SpecialAttributesListModel.cpp
    file/SpecialAttributesProxyListModel_p.h
    file/SpecialAttributesProxyListModel.cpp
    file/FileMacLabelWidgetForm_p.h
    file/FileMacLabelWidgetForm.cpp
    file/FileMacLabelWidget.cpp
)
list(APPEND VARNEL_PUBLIC_HEADERS
    ${PROJECT_SOURCE_DIR}/include/SpecialAttributesListModel.h
    ${PROJECT_SOURCE_DIR}/include/FileMacLabelWidget.h
)
