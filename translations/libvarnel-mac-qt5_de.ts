<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="de_DE">
<context>
    <name>FileMacLabelWidget</name>
    <message>
        <location filename="../src/file/FileMacLabelWidgetForm.cpp" line="+73"/>
        <source>Form</source>
        <translation>Formular</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Specials:</source>
        <translation>Besonderheiten:</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Categories:</source>
        <translation>Kategorien:</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Type:</source>
        <translation>Typ:</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Level:</source>
        <translation>Ebene:</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Integrity:</source>
        <translation>Integrität:</translation>
    </message>
</context>
<context>
    <name>LoginMacLabelWidget</name>
    <message>
        <location filename="../src/login/LoginMacLabelWidgetForm.cpp" line="+89"/>
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
    <name>MacLabelPage</name>
    <message>
        <location filename="../kio-properties/MacLabelPage.cpp" line="+62"/>
        <source>&amp;Read the label again</source>
        <translation>Label erneut &amp;lesen</translation>
    </message>
    <message>
        <location line="+69"/>
        <source>the label library gave no label for it</source>
        <translation>die Label-Bibliothek lieferte kein Label dafür</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>The label of this object cannot be read: %1. This page cannot change it.</source>
        <translation>Das Label dieses Objekts kann nicht gelesen werden: %1. Diese Seite kann es nicht ändern.</translation>
    </message>
    <message>
        <location line="+20"/>
        <source>The label was not written: another program changed it, or put another object at this path, since this page read it. Your changes are kept; &quot;Read the label again&quot; drops them and shows the label the object holds now.</source>
        <translation>Das Label wurde nicht geschrieben: Ein anderes Programm hat es geändert oder ein anderes Objekt an diesen Pfad gelegt, seit diese Seite es gelesen hat. Ihre Änderungen bleiben erhalten; „Label erneut lesen“ verwirft sie und zeigt das Label, das das Objekt jetzt trägt.</translation>
    </message>
    <message>
        <location line="+6"/>
        <source>The label could not be written: %1. Nothing was changed.</source>
        <translation>Das Label konnte nicht geschrieben werden: %1. Es wurde nichts geändert.</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>the label library refused it</source>
        <translation>die Label-Bibliothek hat es abgelehnt</translation>
    </message>
</context>
<context>
    <name>MacLabelPropertiesPlugin</name>
    <message>
        <location filename="../kio-properties/MacLabelPropertiesPlugin.cpp" line="+40"/>
        <source>Security label</source>
        <translation>Sicherheitslabel</translation>
    </message>
</context>
<context>
    <name>NewLoginMacLabelWidget</name>
    <message>
        <location filename="../src/login/NewLoginMacLabelWidgetForm.cpp" line="+126"/>
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
    <name>VarnelQt5::FileMacLabelWidget</name>
    <message>
        <location filename="../src/file/FileMacLabelWidget.cpp" line="+229"/>
        <source>category %1</source>
        <translation>Kategorie %1</translation>
    </message>
    <message>
        <location line="+11"/>
        <source>%1 and %2</source>
        <translation>%1 und %2</translation>
    </message>
    <message>
        <location line="+328"/>
        <source>the level to %1</source>
        <translation>die Ebene auf %1</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>the integrity level to %1</source>
        <translation>die Integritätsebene auf %1</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>set %1</source>
        <translation>setzte %1</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>added %1</source>
        <translation>fügte %1 hinzu</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>removed %1</source>
        <translation>entfernte %1</translation>
    </message>
    <message>
        <location line="+14"/>
        <source>Unchecking %1 %2.</source>
        <translation>Das Abwählen von %1 %2.</translation>
    </message>
    <message>
        <location line="+26"/>
        <source>Checking %1 %2.</source>
        <translation>Das Ankreuzen von %1 %2.</translation>
    </message>
    <message>
        <location line="+27"/>
        <source>%1 and integrity level %2</source>
        <translation>%1 und Integritätsebene %2</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>%1 with %2</source>
        <translation>%1 mit %2</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>%1 was unchecked: a label at %2 cannot carry it.</source>
        <translation>%1 wurde abgewählt: Ein Label auf %2 kann es nicht tragen.</translation>
    </message>
</context>
<context>
    <name>VarnelQt5::ILevelComboBox</name>
    <message>
        <location filename="../src/pickers/ILevelComboBox.cpp" line="+53"/>
        <source>Integrity level</source>
        <translation>Integritätsebene</translation>
    </message>
    <message>
        <location line="+139"/>
        <source>The policy names no integrity level %1</source>
        <translation>Die Richtlinie benennt keine Integritätsebene %1</translation>
    </message>
    <message>
        <location filename="../src/pickers/LockReasons.cpp" line="+96"/>
        <source>%1 is the only integrity level this user may choose</source>
        <translation>%1 ist die einzige Integritätsebene, die dieser Benutzer wählen darf</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>The system reports no integrity levels</source>
        <translation>Das System meldet keine Integritätsebenen</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>The integrity database cannot be read</source>
        <translation>Die Integritätsdatenbank kann nicht gelesen werden</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>No integrity level lies within this user&apos;s range</source>
        <translation>Keine Integritätsebene liegt im Bereich dieses Benutzers</translation>
    </message>
</context>
<context>
    <name>VarnelQt5::LoginMacLabelDialog</name>
    <message>
        <location filename="../src/login/LoginMacLabelDialog.cpp" line="+106"/>
        <source>%1 with %2</source>
        <translation>%1 mit %2</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Integrity level %1 is allowed only with level %2 and no categories; level %3 only with integrity level %4.</source>
        <translation>Integritätsebene %1 ist nur mit Ebene %2 und ohne Kategorien erlaubt; Ebene %3 nur mit Integritätsebene %4.</translation>
    </message>
    <message>
        <location line="+54"/>
        <location line="+122"/>
        <source>MAC label selection</source>
        <translation>MAC-Label-Auswahl</translation>
    </message>
    <message>
        <location line="-115"/>
        <source>&lt;b&gt;%1 for %2&lt;/b&gt;</source>
        <translation>&lt;b&gt;%1 für %2&lt;/b&gt;</translation>
    </message>
    <message>
        <location line="+32"/>
        <source>Enter</source>
        <translation>Anmelden</translation>
    </message>
    <message>
        <location line="+88"/>
        <source>MAC label information</source>
        <translation>MAC-Label-Information</translation>
    </message>
    <message>
        <location line="+42"/>
        <source>Invalid set of attributes</source>
        <translation>Ungültige Kombination von Attributen</translation>
    </message>
    <message>
        <location line="-5"/>
        <source>Denied login with non-zero integrity and confidentiality levels at the same time</source>
        <translation>Anmeldung mit Integritätsebene ungleich null und gleichzeitig Vertraulichkeitsebene ungleich null verweigert</translation>
    </message>
</context>
<context>
    <name>VarnelQt5::LoginMacLabelWidget</name>
    <message>
        <location filename="../src/pickers/LockReasons.cpp" line="-63"/>
        <source>This is the label of the running program; it cannot be changed here</source>
        <translation>Dies ist das Label des laufenden Programms; es kann hier nicht geändert werden</translation>
    </message>
    <message>
        <location filename="../src/login/LoginMacLabelWidget.cpp" line="+232"/>
        <location line="+2"/>
        <source>No category</source>
        <translation>Keine Kategorie</translation>
    </message>
</context>
<context>
    <name>VarnelQt5::MacCategoryComboBox</name>
    <message>
        <location filename="../src/pickers/MacCategoryComboBox.cpp" line="+33"/>
        <source>Category</source>
        <translation>Kategorie</translation>
    </message>
    <message>
        <location filename="../src/pickers/LockReasons.cpp" line="+77"/>
        <source>%1 is the only category this user may choose</source>
        <translation>%1 ist die einzige Kategorie, die dieser Benutzer wählen darf</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Mandatory access control is switched off, so there is no category to choose</source>
        <translation>Die verbindliche Zugriffskontrolle ist ausgeschaltet, daher gibt es keine Kategorie zur Auswahl</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>The category database cannot be read</source>
        <translation>Die Kategoriendatenbank kann nicht gelesen werden</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>No category lies within this user&apos;s range</source>
        <translation>Keine Kategorie liegt im Bereich dieses Benutzers</translation>
    </message>
</context>
<context>
    <name>VarnelQt5::MacCategoryFilterEdit</name>
    <message>
        <location filename="../src/pickers/MacCategoryFilterEdit.cpp" line="+114"/>
        <location line="+1"/>
        <source>Filter categories</source>
        <translation>Kategorien filtern</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Shows only the categories whose name contains the text or whose number it is</source>
        <translation>Zeigt nur die Kategorien, deren Name den Text enthält oder deren Nummer er ist</translation>
    </message>
</context>
<context>
    <name>VarnelQt5::MacCategoryListWidget</name>
    <message>
        <location filename="../src/pickers/MacCategoryListWidget.cpp" line="+109"/>
        <source>Unknown category %1</source>
        <translation>Unbekannte Kategorie %1</translation>
    </message>
    <message>
        <location line="+2"/>
        <location line="+1"/>
        <source>Category %1</source>
        <translation>Kategorie %1</translation>
    </message>
    <message>
        <location line="+15"/>
        <source>%1 lies outside the bounds this list was given</source>
        <translation>%1 liegt außerhalb der Grenzen, die dieser Liste gegeben wurden</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>The policy names no category for bit %1</source>
        <translation>Die Richtlinie benennt keine Kategorie für Bit %1</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>Bit %1 is not among the categories this list shows</source>
        <translation>Bit %1 gehört nicht zu den Kategorien, die diese Liste zeigt</translation>
    </message>
    <message>
        <location line="+6"/>
        <source>Every label of this user carries %1</source>
        <translation>Jedes Label dieses Benutzers trägt %1</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Every label chosen here carries %1</source>
        <translation>Jedes hier gewählte Label trägt %1</translation>
    </message>
    <message>
        <location line="+14"/>
        <source>%1, checked, cannot be changed</source>
        <translation>%1, aktiviert, nicht änderbar</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>%1, unchecked, cannot be changed</source>
        <translation>%1, nicht aktiviert, nicht änderbar</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>%1, checked</source>
        <translation>%1, aktiviert</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>%1, unchecked</source>
        <translation>%1, nicht aktiviert</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>%1. %2</source>
        <translation>%1. %2</translation>
    </message>
    <message>
        <location line="+81"/>
        <source>Categories</source>
        <translation>Kategorien</translation>
    </message>
    <message>
        <location line="-49"/>
        <source>Unknown</source>
        <translation>Unbekannt</translation>
    </message>
    <message>
        <location filename="../src/pickers/LockReasons.cpp" line="+27"/>
        <source>Every category listed is required for this user</source>
        <translation>Jede aufgeführte Kategorie ist für diesen Benutzer vorgeschrieben</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Mandatory access control is switched off, so there is no category to choose</source>
        <translation>Die verbindliche Zugriffskontrolle ist ausgeschaltet, daher gibt es keine Kategorie zur Auswahl</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>The category database cannot be read</source>
        <translation>Die Kategoriendatenbank kann nicht gelesen werden</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>This user may choose no category</source>
        <translation>Dieser Benutzer darf keine Kategorie wählen</translation>
    </message>
</context>
<context>
    <name>VarnelQt5::MacCategoryPushButton</name>
    <message>
        <location filename="../src/pickers/MacCategoryPushButton.cpp" line="+109"/>
        <location line="+8"/>
        <source>Categories</source>
        <translation>Kategorien</translation>
    </message>
    <message>
        <location line="+5"/>
        <location line="+2"/>
        <source>No categories</source>
        <translation>Keine Kategorien</translation>
    </message>
</context>
<context>
    <name>VarnelQt5::MacCategoryWidget</name>
    <message>
        <location filename="../src/pickers/MacCategoryWidget.cpp" line="+140"/>
        <source>Categories</source>
        <translation>Kategorien</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Choose categories</source>
        <translation>Kategorien auswählen</translation>
    </message>
    <message>
        <location line="+7"/>
        <location line="+97"/>
        <source>Done</source>
        <translation>Fertig</translation>
    </message>
    <message>
        <location line="-21"/>
        <source>No categories</source>
        <translation>Keine Kategorien</translation>
    </message>
</context>
<context>
    <name>VarnelQt5::MacFileModel</name>
    <message>
        <location filename="../src/tree/MacFileModel.cpp" line="+84"/>
        <source>%1, checked</source>
        <translation>%1, aktiviert</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>%1, unchecked</source>
        <translation>%1, nicht aktiviert</translation>
    </message>
    <message>
        <location line="+118"/>
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
    <name>VarnelQt5::MacLevelComboBox</name>
    <message>
        <location filename="../src/pickers/MacLevelComboBox.cpp" line="+46"/>
        <source>Level</source>
        <translation>Ebene</translation>
    </message>
    <message>
        <location line="+133"/>
        <source>The policy names no level %1</source>
        <translation>Die Richtlinie benennt keine Ebene %1</translation>
    </message>
    <message>
        <location filename="../src/pickers/LockReasons.cpp" line="-83"/>
        <source>%1 is the only level this user may choose</source>
        <translation>%1 ist die einzige Ebene, die dieser Benutzer wählen darf</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Mandatory access control is switched off, so there is no level to choose</source>
        <translation>Die verbindliche Zugriffskontrolle ist ausgeschaltet, daher gibt es keine Ebene zur Auswahl</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>The level database cannot be read</source>
        <translation>Die Ebenendatenbank kann nicht gelesen werden</translation>
    </message>
    <message>
        <location filename="../src/login/LoginMacLabelDialog.cpp" line="-12"/>
        <location filename="../src/pickers/LockReasons.cpp" line="+2"/>
        <source>No level lies within this user&apos;s range</source>
        <translation>Keine Ebene liegt im Bereich dieses Benutzers</translation>
    </message>
</context>
<context>
    <name>VarnelQt5::MacTypeComboBox</name>
    <message>
        <location filename="../src/pickers/MacTypeComboBox.cpp" line="+37"/>
        <source>None</source>
        <translation>Keiner</translation>
    </message>
    <message>
        <location line="+9"/>
        <source>Label type</source>
        <translation>Labeltyp</translation>
    </message>
</context>
<context>
    <name>VarnelQt5::SpecialAttributesListModel</name>
    <message>
        <location filename="../src/file/SpecialAttributesListModel.cpp" line="+59"/>
        <source>Other attributes %1</source>
        <translation>Weitere Attribute %1</translation>
    </message>
    <message>
        <location line="+12"/>
        <source>%1, checked, cannot be changed</source>
        <translation>%1, aktiviert, nicht änderbar</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>%1, unchecked, cannot be changed</source>
        <translation>%1, nicht aktiviert, nicht änderbar</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>%1, checked</source>
        <translation>%1, aktiviert</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>%1, unchecked</source>
        <translation>%1, nicht aktiviert</translation>
    </message>
    <message>
        <location line="+6"/>
        <source>%1. %2</source>
        <translation>%1. %2</translation>
    </message>
    <message>
        <location line="+57"/>
        <source>ccnr</source>
        <translation>ccnr</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>ccnri (deprecated)</source>
        <translation>ccnri (veraltet)</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>ehole</source>
        <translation>ehole</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>whole</source>
        <translation>whole</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>silev</source>
        <translation>silev</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>irelax</source>
        <translation>irelax</translation>
    </message>
    <message>
        <location line="+7"/>
        <source>The folder may contain objects with different security
labels, but not higher than its own label.
Mandatory rules for reading the folder will be ignored,
but a subject will see only objects with security labels that
are lower or equal to its own label.</source>
        <translation>Der Ordner darf Objekte mit unterschiedlichen Sicherheits-
markierungen enthalten, jedoch nicht höher als seine eigene.
Verbindliche Regeln für das Lesen des Ordners werden ignoriert,
ein Subjekt sieht aber nur Objekte, deren Sicherheitsmarkierung
niedriger oder gleich seiner eigenen ist.</translation>
    </message>
    <message>
        <location line="+6"/>
        <source>The folder may contain objects with different integrity
levels, but not higher than its own level. Deprecated.</source>
        <translation>Der Ordner darf Objekte mit unterschiedlichen Integritäts-
stufen enthalten, jedoch nicht höher als seine eigene. Veraltet.</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>Allow to write data to a file with minimum mandatory label
for subjects with higher labels.</source>
        <translation>Erlaubt Subjekten mit höherer Markierung, Daten in eine Datei
mit minimaler verbindlicher Markierung zu schreiben.</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>Allow to write data to a file with maximum mandatory label
for subjects with lower labels.</source>
        <translation>Erlaubt Subjekten mit niedrigerer Markierung, Daten in eine Datei
mit maximaler verbindlicher Markierung zu schreiben.</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>Allows executable from given file assign a file integrity
level to a process based on the mask of the maximum system
integrity level</source>
        <translation>Erlaubt einem Programm aus dieser Datei, einem Prozess die
Integritätsstufe der Datei zuzuweisen, anhand der Maske der
höchsten Integritätsstufe des Systems</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>Specifies that the directory can be written to by a process
with any integrity level</source>
        <translation>Legt fest, dass Prozesse mit beliebiger Integritätsstufe
in das Verzeichnis schreiben dürfen</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>Other attributes</source>
        <translation>Weitere Attribute</translation>
    </message>
</context>
</TS>
