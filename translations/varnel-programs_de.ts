<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="de_DE">
<context>
    <name>CategoryFilter</name>
    <message>
        <location filename="../programs/file-label/CategoryFilter.cpp" line="+31"/>
        <source>No categories chosen</source>
        <translation>Keine Kategorien gewählt</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Chosen: %1</source>
        <translation>Gewählt: %1</translation>
    </message>
    <message>
        <location line="+17"/>
        <source>The categories checked in the list</source>
        <translation>Die in der Liste aktivierten Kategorien</translation>
    </message>
</context>
<context>
    <name>FileLabelWindow</name>
    <message>
        <location filename="../programs/file-label/FileLabelWindow.cpp" line="+138"/>
        <source>&amp;Previous</source>
        <translation>&amp;Zurück</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>&amp;Next</source>
        <translation>&amp;Weiter</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>&amp;Revert</source>
        <translation>&amp;Zurücksetzen</translation>
    </message>
    <message>
        <location line="+1"/>
        <location line="+327"/>
        <source>&amp;Apply</source>
        <translation>&amp;Anwenden</translation>
    </message>
    <message>
        <location line="-324"/>
        <location line="+319"/>
        <source>File labels</source>
        <translation>Datei-Labels</translation>
    </message>
    <message>
        <location line="-164"/>
        <source>Did not write the label to %1: the path now names another object than the one whose label was read. Revert reads the label of the object it names now.</source>
        <translation>Das Label wurde nicht nach %1 geschrieben: Der Pfad benennt jetzt ein anderes Objekt als das, dessen Label gelesen wurde. „Zurücksetzen“ liest das Label des Objekts, das er jetzt benennt.</translation>
    </message>
    <message>
        <location line="+13"/>
        <source>Did not write the label to %1: its label was changed since it was read. The edits are kept; Revert shows the new label.</source>
        <translation>Das Label wurde nicht nach %1 geschrieben: Es wurde geändert, seit es gelesen wurde. Die Änderungen bleiben erhalten; „Zurücksetzen“ zeigt das neue Label.</translation>
    </message>
    <message>
        <location line="+71"/>
        <source>Could not read the label of %1: its name is not valid in the locale&apos;s encoding.</source>
        <translation>Das Label von %1 konnte nicht gelesen werden: Der Name ist in der Zeichenkodierung der Spracheinstellung nicht gültig.</translation>
    </message>
    <message>
        <location line="+21"/>
        <source>the form has no row for its special attribute %1</source>
        <translation>das Formular hat keine Zeile für seine Besonderheit %1</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>the form has no rows for its special attributes %1</source>
        <translation>das Formular hat keine Zeilen für seine Besonderheiten %1</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>The form cannot show the label of %1 as it is: %2.</source>
        <translation>Das Formular kann das Label von %1 nicht so zeigen, wie es ist: %2.</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>Read the label of %1.</source>
        <translation>Label von %1 gelesen.</translation>
    </message>
    <message>
        <location line="+22"/>
        <source>The label of %1 was changed since it was read. The edits are kept, but Apply does not write them over the new label; Revert shows it.</source>
        <translation>Das Label von %1 wurde geändert, seit es gelesen wurde. Die Änderungen bleiben erhalten, aber „Anwenden“ schreibt sie nicht über das neue Label; „Zurücksetzen“ zeigt es.</translation>
    </message>
    <message>
        <location line="+7"/>
        <source>Read the label of %1 again: it was changed since it was shown.</source>
        <translation>Label von %1 erneut gelesen: Es wurde geändert, seit es angezeigt wurde.</translation>
    </message>
    <message>
        <location line="+23"/>
        <source>The label of %1 has changes that are not written.</source>
        <translation>Das Label von %1 hat Änderungen, die nicht geschrieben sind.</translation>
    </message>
    <message>
        <location line="+5"/>
        <source>&amp;Discard</source>
        <translation>&amp;Verwerfen</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>&amp;Cancel</source>
        <translation>Abb&amp;rechen</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Apply writes them, Discard drops them, Cancel goes back to them.</source>
        <translation>„Anwenden“ schreibt sie, „Verwerfen“ verwirft sie, „Abbrechen“ kehrt zu ihnen zurück.</translation>
    </message>
    <message>
        <location line="+48"/>
        <source>Path %1 of %2: %3</source>
        <translation>Pfad %1 von %2: %3</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Directory %1 of %2: %3</source>
        <translation>Verzeichnis %1 von %2: %3</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>File %1 of %2: %3</source>
        <translation>Datei %1 von %2: %3</translation>
    </message>
    <message>
        <location line="-126"/>
        <source>Could not read the label of %1: %2.</source>
        <translation>Das Label von %1 konnte nicht gelesen werden: %2.</translation>
    </message>
    <message>
        <location line="-258"/>
        <source>Changed, not written yet.</source>
        <translation>Geändert, noch nicht geschrieben.</translation>
    </message>
    <message>
        <location line="+150"/>
        <source>Could not write the label to %1: %2.</source>
        <translation>Das Label konnte nicht nach %1 geschrieben werden: %2.</translation>
    </message>
    <message>
        <location line="+108"/>
        <source>Wrote the label to %1, but could not read it back: %2.</source>
        <translation>Label nach %1 geschrieben, aber es konnte nicht wieder gelesen werden: %2.</translation>
    </message>
    <message>
        <location line="+13"/>
        <source>Wrote the label to %1, but the form cannot show it as it is: %2.</source>
        <translation>Label nach %1 geschrieben, aber das Formular kann es nicht so zeigen, wie es ist: %2.</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>Wrote the label to %1.</source>
        <translation>Label nach %1 geschrieben.</translation>
    </message>
</context>
<context>
    <name>FilePanel</name>
    <message>
        <location filename="../programs/gallery/FilePanel.cpp" line="+38"/>
        <source>Could not create %1.</source>
        <translation>%1 konnte nicht angelegt werden.</translation>
    </message>
    <message>
        <location line="+5"/>
        <source>%1 (made by the gallery)</source>
        <translation>%1 (von der Galerie angelegt)</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Directory</source>
        <translation>Verzeichnis</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>File</source>
        <translation>Datei</translation>
    </message>
    <message>
        <location line="+12"/>
        <source>Revert</source>
        <translation>Verwerfen</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Apply</source>
        <translation>Anwenden</translation>
    </message>
    <message>
        <location line="+5"/>
        <source>Changed: Apply writes the label, Revert reads it again.</source>
        <translation>Geändert: „Anwenden“ schreibt das Label, „Verwerfen“ liest es erneut.</translation>
    </message>
    <message>
        <location line="+33"/>
        <source>Wrote the label.</source>
        <translation>Label geschrieben.</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Could not write the label to %1.</source>
        <translation>Das Label konnte nicht nach %1 geschrieben werden.</translation>
    </message>
    <message>
        <location line="+12"/>
        <source>Read the label.</source>
        <translation>Label gelesen.</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Could not read the label of %1.</source>
        <translation>Das Label von %1 konnte nicht gelesen werden.</translation>
    </message>
    <message>
        <location line="+13"/>
        <source>Could not label %1.</source>
        <translation>%1 konnte kein Label erhalten.</translation>
    </message>
    <message>
        <location line="+20"/>
        <source>%1; %2; integrity %3; type %4</source>
        <translation>%1; %2; Integrität %3; Typ %4</translation>
    </message>
</context>
<context>
    <name>GalleryWindow</name>
    <message>
        <location filename="../programs/gallery/GalleryWindow.cpp" line="+56"/>
        <location line="+224"/>
        <source>(no label)</source>
        <translation>(kein Label)</translation>
    </message>
    <message>
        <location line="-185"/>
        <source>(nothing accepted yet)</source>
        <translation>(noch nichts bestätigt)</translation>
    </message>
    <message>
        <location line="+6"/>
        <source>%1 gallery for user %2</source>
        <extracomment>%1 is the library&apos;s name with its Qt major, %2 the user&apos;s id.</extracomment>
        <translation>%1-Galerie für Benutzer %2</translation>
    </message>
    <message>
        <location line="+15"/>
        <source>%1 (level %2)</source>
        <translation>%1 (Ebene %2)</translation>
    </message>
    <message>
        <location line="+8"/>
        <source>%1 (integrity level %2)</source>
        <translation>%1 (Integritätsebene %2)</translation>
    </message>
    <message>
        <location line="+11"/>
        <source>%1 (mask %2)</source>
        <translation>%1 (Maske %2)</translation>
    </message>
    <message>
        <location line="+9"/>
        <source>%1 (type %2)</source>
        <translation>%1 (Typ %2)</translation>
    </message>
    <message>
        <location line="+49"/>
        <source>(no checklist)</source>
        <translation>(keine Auswahlliste)</translation>
    </message>
    <message>
        <location line="+18"/>
        <source>%1; %2; integrity %3
label text %4</source>
        <translation>%1; %2; Integrität %3
Labeltext %4</translation>
    </message>
    <message>
        <location line="+11"/>
        <source>One button away</source>
        <translation>Einen Knopfdruck entfernt</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>Login dialog...</source>
        <translation>Anmeldedialog …</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Themed login dialog...</source>
        <translation>Gestalteter Anmeldedialog …</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>File label...</source>
        <translation>Datei-Label …</translation>
    </message>
    <message>
        <location line="+10"/>
        <source>Label text:</source>
        <translation>Labeltext:</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Arguments:</source>
        <translation>Argumente:</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Command:</source>
        <translation>Befehl:</translation>
    </message>
</context>
<context>
    <name>LabelEditor</name>
    <message>
        <location filename="../programs/file-label/LabelEditor.cpp" line="+72"/>
        <source>the level list is empty, so the level cannot be shown</source>
        <translation>die Liste der Ebenen ist leer, daher kann die Ebene nicht gezeigt werden</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>the integrity list is empty, so the integrity level cannot be shown</source>
        <translation>die Liste der Integritätsebenen ist leer, daher kann die Integritätsebene nicht gezeigt werden</translation>
    </message>
    <message>
        <location line="+25"/>
        <source>the object holds %1, the form shows %2</source>
        <translation>das Objekt hat %1, das Formular zeigt %2</translation>
    </message>
    <message>
        <location filename="../programs/file-label/LabelCommand.cpp" line="+444"/>
        <location filename="../programs/file-label/LabelEditor.cpp" line="+15"/>
        <source>level %1 is not in the level list</source>
        <translation>Ebene %1 ist nicht in der Liste der Ebenen</translation>
    </message>
    <message>
        <location line="+4"/>
        <location filename="../programs/file-label/LabelEditor.cpp" line="+8"/>
        <source>the integrity list is empty</source>
        <translation>die Liste der Integritätsebenen ist leer</translation>
    </message>
    <message>
        <location line="+2"/>
        <location filename="../programs/file-label/LabelEditor.cpp" line="+4"/>
        <source>integrity level %1 is above the system&apos;s maximum, %2</source>
        <translation>Integritätsebene %1 liegt über dem Höchstwert des Systems, %2</translation>
    </message>
    <message>
        <location line="+7"/>
        <location filename="../programs/file-label/LabelEditor.cpp" line="+11"/>
        <source>categories 0x%1 are not in the category list</source>
        <translation>die Kategorien 0x%1 sind nicht in der Liste der Kategorien</translation>
    </message>
    <message>
        <location line="-365"/>
        <location filename="../programs/file-label/LabelEditor.cpp" line="+12"/>
        <source>special attributes 0x%1 do not go with the label %2 on this %3</source>
        <translation>die besonderen Attribute 0x%1 passen nicht zum Label %2 auf diesem Objekt (%3)</translation>
    </message>
    <message>
        <location line="+2"/>
        <location filename="../programs/file-label/LabelEditor.cpp" line="+3"/>
        <source>directory</source>
        <translation>Verzeichnis</translation>
    </message>
    <message>
        <location line="+0"/>
        <location filename="../programs/file-label/LabelEditor.cpp" line="+0"/>
        <source>file</source>
        <translation>Datei</translation>
    </message>
    <message>
        <location filename="../programs/file-label/LabelEditor.cpp" line="+4"/>
        <source>the form holds %1 instead</source>
        <translation>das Formular enthält stattdessen %1</translation>
    </message>
</context>
<context>
    <name>LabelWords</name>
    <message>
        <location filename="../programs/gallery/LabelWords.cpp" line="+28"/>
        <source>level %1</source>
        <translation>Ebene %1</translation>
    </message>
    <message>
        <location line="+9"/>
        <source>category %1</source>
        <translation>Kategorie %1</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>no categories</source>
        <translation>keine Kategorien</translation>
    </message>
</context>
<context>
    <name>PathReason</name>
    <message>
        <location filename="../programs/file-label/PathReason.cpp" line="+65"/>
        <source>its label cannot be read</source>
        <translation>sein Label kann nicht gelesen werden</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>the label library refused it</source>
        <translation>die Label-Bibliothek hat es abgelehnt</translation>
    </message>
</context>
</TS>
