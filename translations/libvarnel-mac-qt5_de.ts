<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="de_DE">
<context>
    <name>LoginMacLabelWidget</name>
    <message>
        <location filename="../src/login/LoginMacLabelWidgetForm.cpp" line="+121"/>
        <source>LoginMacLabelWidget</source>
        <translation>LoginMacLabelWidget</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Level:</source>
        <translation>Ebene:</translation>
    </message>
    <message>
        <location line="+1"/>
        <location line="+3"/>
        <source>TextLabel</source>
        <translation>TextLabel</translation>
    </message>
    <message>
        <location line="-2"/>
        <source>Integrity:</source>
        <translation>Integrität:</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Category:</source>
        <translation>Kategorie:</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Roles</source>
        <translation>Rollen</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>User</source>
        <translation>Benutzer</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Administrative</source>
        <translation>Administrativ</translation>
    </message>
</context>
<context>
    <name>NewLoginMacLabelWidget</name>
    <message>
        <location filename="../src/login/NewLoginMacLabelWidgetForm.cpp" line="+158"/>
        <source>LoginMacLabelWidget</source>
        <translation>LoginMacLabelWidget</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Level:</source>
        <translation>Ebene:</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Category:</source>
        <translation>Kategorie:</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Integrity:</source>
        <translation>Integrität:</translation>
    </message>
    <message>
        <location line="+1"/>
        <location line="+1"/>
        <source>TextLabel</source>
        <translation>TextLabel</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Roles</source>
        <translation>Rollen</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>User</source>
        <translation>Benutzer</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Administrative</source>
        <translation>Administrativ</translation>
    </message>
</context>
<context>
    <name>VarnelQt5::LoginMacLabelDialog</name>
    <message>
        <location filename="../src/login/LoginMacLabelDialog.cpp" line="+73"/>
        <location line="+106"/>
        <source>MAC label selection</source>
        <translation>MAC-Label-Auswahl</translation>
    </message>
    <message>
        <location line="-99"/>
        <source>&lt;b&gt;%1 for %2&lt;/b&gt;</source>
        <translation>&lt;b&gt;%1 für %2&lt;/b&gt;</translation>
    </message>
    <message>
        <location line="+21"/>
        <source>Enter</source>
        <translation>Anmelden</translation>
    </message>
    <message>
        <location line="+83"/>
        <source>MAC label information</source>
        <translation>MAC-Label-Information</translation>
    </message>
    <message>
        <location line="+24"/>
        <source>Invalid set of attributes</source>
        <translation>Ungültige Kombination von Attributen</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Denied login with non-zero integrity and confidentiality levels at the same time</source>
        <translation>Anmeldung mit Integritätsebene ungleich null und gleichzeitig Vertraulichkeitsebene ungleich null verweigert</translation>
    </message>
</context>
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
