<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="de_DE">
<context>
    <name>VarnelQt5::MacCategoryListWidget</name>
    <message>
        <location filename="../src/pickers/MacCategoryListWidget.cpp" line="+245"/>
        <source>Unknown</source>
        <translation>Unbekannt</translation>
    </message>
</context>
<context>
    <name>VarnelQt5::MacCategoryPushButton</name>
    <message>
        <location filename="../src/pickers/MacCategoryPushButton.cpp" line="+98"/>
        <source>Categories</source>
        <translation>Kategorien</translation>
    </message>
</context>
<context>
    <name>VarnelQt5::MacCategoryWidget</name>
    <message>
        <location filename="../src/pickers/MacCategoryWidget.cpp" line="+56"/>
        <location line="+79"/>
        <source>Done</source>
        <translation>Fertig</translation>
    </message>
</context>
<context>
    <name>VarnelQt5::MacFileModel</name>
    <message>
        <location filename="../src/tree/MacFileModel.cpp" line="+142"/>
        <source>Name</source>
        <translation>Name</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Id</source>
        <translation>Kennung</translation>
    </message>
</context>
<context>
    <name>VarnelQt5::MacTypeComboBox</name>
    <message>
        <location filename="../src/pickers/MacTypeComboBox.cpp" line="+32"/>
        <source>None</source>
        <translation>Keiner</translation>
    </message>
</context>
</TS>
