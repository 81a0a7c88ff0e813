<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="de_DE">
<context>
    <name>Catalogue</name>
    <message>
        <source>Sections.txt and Fields.txt were found in no folder</source>
        <translation>Sections.txt und Fields.txt wurden in keinem Ordner gefunden</translation>
    </message>
    <message>
        <source>Sections.txt and Fields.txt were found in none of these folders: %1</source>
        <translation>Sections.txt und Fields.txt wurden in keinem dieser Ordner gefunden: %1</translation>
    </message>
    <message>
        <source>%1 line(s) past the limit of %2 sections were not loaded</source>
        <translation>%1 Zeile(n) über der Grenze von %2 Abschnitten wurden nicht geladen</translation>
    </message>
    <message>
        <source>%1 line(s) past the limit of %2 fields were not loaded</source>
        <translation>%1 Zeile(n) über der Grenze von %2 Feldern wurden nicht geladen</translation>
    </message>
    <message>
        <source>the registry value cannot be read: </source>
        <translation>der Registrierungswert kann nicht gelesen werden: </translation>
    </message>
</context>
<context>
    <name>CatalogueChoice</name>
    <message>
        <source>The catalogues Sections.txt and Fields.txt were found in none of these folders:

%1

Choose the folder that holds them; the editor remembers it.</source>
        <translation>Die Kataloge Sections.txt und Fields.txt wurden in keinem dieser Ordner gefunden:

%1

Wählen Sie den Ordner, der sie enthält; der Editor merkt ihn sich.</translation>
    </message>
    <message>
        <source>No catalogues are in use. Choose the folder that holds Sections.txt and Fields.txt; the editor remembers it.</source>
        <translation>Es sind keine Kataloge in Gebrauch. Wählen Sie den Ordner, der Sections.txt und Fields.txt enthält; der Editor merkt ihn sich.</translation>
    </message>
    <message>
        <source>The catalogues in use are in

%1

Choose another folder that holds Sections.txt and Fields.txt; the editor remembers it.</source>
        <translation>Die Kataloge in Gebrauch liegen in

%1

Wählen Sie einen anderen Ordner, der Sections.txt und Fields.txt enthält; der Editor merkt ihn sich.</translation>
    </message>
    <message>
        <source>%1 holds neither Sections.txt nor Fields.txt.</source>
        <translation>%1 enthält weder Sections.txt noch Fields.txt.</translation>
    </message>
    <message>
        <source>%1 holds no %2.</source>
        <translation>%1 enthält kein %2.</translation>
    </message>
</context>
<context>
    <name>Check</name>
    <message>
        <source>the line has %1 columns where %2 are expected (%3)</source>
        <translation>die Zeile hat %1 Spalten, erwartet werden %2 (%3)</translation>
    </message>
    <message>
        <source>the order column %1 is not one character: the editor takes the character after the flag for the comma, so the later columns shift</source>
        <translation>die Reihenfolge-Spalte %1 ist nicht ein einzelnes Zeichen: der Editor nimmt das Zeichen nach dem Kennzeichen als Komma, sodass sich die folgenden Spalten verschieben</translation>
    </message>
    <message>
        <source>the order flag is a lower-case y: %1 is not ordered (write Y)</source>
        <translation>das Reihenfolge-Kennzeichen ist ein kleines y: %1 ist nicht geordnet (schreiben Sie Y)</translation>
    </message>
    <message>
        <source>the order flag %1 is neither Y nor N: %2 is not ordered</source>
        <translation>das Reihenfolge-Kennzeichen %1 ist weder Y noch N: %2 ist nicht geordnet</translation>
    </message>
    <message>
        <source>the %1 column %2 is not a plain number: the editor reads %3</source>
        <translation>in der Spalte %1 steht %2, keine einfache Zahl: der Editor liest %3</translation>
    </message>
    <message>
        <source>the line comes before the first section: no reader takes it</source>
        <translation>die Zeile steht vor dem ersten Abschnitt: kein Leser übernimmt sie</translation>
    </message>
    <message>
        <source>the line is neither a section header nor a key line (it holds no &quot;=&quot;): readers skip it</source>
        <translation>die Zeile ist weder eine Abschnittsüberschrift noch eine Schlüsselzeile (sie enthält kein „=“): Leser überspringen sie</translation>
    </message>
    <message>
        <source>the value of %1 in [%2] holds a NUL byte: readers take only the text before it, %3</source>
        <translation>der Wert von %1 in [%2] enthält ein NUL-Byte: Leser übernehmen nur den Text davor, %3</translation>
    </message>
    <message>
        <source>the value %1 of %2 shows as %3 in the editor, and a save writes %4</source>
        <translation>der Wert %1 von %2 erscheint im Editor als %3, und beim Speichern wird %4 geschrieben</translation>
    </message>
    <message>
        <source>the quotes around the value of %1 are not part of it: the editor shows %2</source>
        <translation>die Anführungszeichen um den Wert von %1 gehören nicht dazu: der Editor zeigt %2</translation>
    </message>
    <message>
        <source>the key %1 appears again in [%2] (first on line %3): readers take only the first</source>
        <translation>der Schlüssel %1 kommt in [%2] noch einmal vor (zuerst in Zeile %3): Leser übernehmen nur den ersten</translation>
    </message>
    <message>
        <source>the key %1 of [%2] is not in the catalogue: the editor neither shows nor changes it</source>
        <translation>der Schlüssel %1 von [%2] steht nicht im Katalog: der Editor zeigt und ändert ihn nicht</translation>
    </message>
    <message>
        <source>the line holds bytes that are not UTF-8, but line %1 holds UTF-8 text: the document is read as %2, so those bytes show as U+FFFD</source>
        <translation>die Zeile enthält Bytes, die kein UTF-8 sind, aber Zeile %1 enthält UTF-8-Text: das Dokument wird als %2 gelesen, daher erscheinen diese Bytes als U+FFFD</translation>
    </message>
    <message>
        <source>the line holds bytes that are not UTF-8, but the file starts with a UTF-8 byte-order mark: the document is read as %1, so those bytes show as U+FFFD</source>
        <translation>die Zeile enthält Bytes, die kein UTF-8 sind, aber die Datei beginnt mit einer UTF-8-Bytereihenfolgemarke: das Dokument wird als %1 gelesen, daher erscheinen diese Bytes als U+FFFD</translation>
    </message>
    <message>
        <source>the line holds UTF-8 text, but line %1 holds bytes that are not UTF-8: the document is read as %2, so the UTF-8 text shows as other characters</source>
        <translation>die Zeile enthält UTF-8-Text, aber Zeile %1 enthält Bytes, die kein UTF-8 sind: das Dokument wird als %2 gelesen, daher erscheint der UTF-8-Text als andere Zeichen</translation>
    </message>
    <message>
        <source>section [%1] appears again (first on line %2): readers take only the first</source>
        <translation>der Abschnitt [%1] kommt noch einmal vor (zuerst in Zeile %2): Leser übernehmen nur den ersten</translation>
    </message>
    <message>
        <source>section [%1] is not in the catalogue: the editor neither shows nor changes it</source>
        <translation>der Abschnitt [%1] steht nicht im Katalog: der Editor zeigt und ändert ihn nicht</translation>
    </message>
    <message>
        <source>the key %1 cannot stand in a document (it is empty, holds &quot;=&quot; or starts with &quot;[&quot;): every save in the editor fails</source>
        <translation>der Schlüssel %1 kann in keinem Dokument stehen (er ist leer, enthält „=“ oder beginnt mit „[“): jedes Speichern im Editor schlägt fehl</translation>
    </message>
    <message>
        <source>the key %1 has blanks at its ends: documents store it without them</source>
        <translation>der Schlüssel %1 hat Leerzeichen an den Enden: Dokumente speichern ihn ohne sie</translation>
    </message>
    <message>
        <source>the key %1 holds a blank: other readers of the document may not accept it</source>
        <translation>der Schlüssel %1 enthält ein Leerzeichen: andere Leser des Dokuments nehmen ihn womöglich nicht an</translation>
    </message>
    <message>
        <source>the type RFS belongs to replacement entries: a save writes this field as an entry of the replacement list, not under its key</source>
        <translation>der Typ RFS gehört zu Ersetzungseinträgen: beim Speichern wird dieses Feld als Eintrag der Ersetzungsliste geschrieben, nicht unter seinem Schlüssel</translation>
    </message>
    <message>
        <source>the type %1 is neither B nor C: the field is read and saved as text, but the editor offers no way to change it</source>
        <translation>der Typ %1 ist weder B noch C: das Feld wird als Text gelesen und gespeichert, aber der Editor bietet keine Möglichkeit, es zu ändern</translation>
    </message>
    <message>
        <source>label, key, type, order flag, section id</source>
        <translation>Beschriftung, Schlüssel, Typ, Reihenfolge-Kennzeichen, Abschnittsnummer</translation>
    </message>
    <message>
        <source>the field</source>
        <translation>das Feld</translation>
    </message>
    <message>
        <source>section id</source>
        <translation>Abschnittsnummer</translation>
    </message>
    <message>
        <source>the field names section %1, which the section catalogue does not have: it is neither read nor saved</source>
        <translation>das Feld nennt den Abschnitt %1, den der Abschnittskatalog nicht hat: es wird weder gelesen noch gespeichert</translation>
    </message>
    <message>
        <source>the field is marked ordered, but its section [%1] has no Order list</source>
        <translation>das Feld ist als geordnet markiert, aber sein Abschnitt [%1] hat keine Order-Liste</translation>
    </message>
    <message>
        <source>the key Order is the Order list of section [%1]: the field and the list overwrite each other</source>
        <translation>der Schlüssel Order ist die Order-Liste des Abschnitts [%1]: Feld und Liste überschreiben einander</translation>
    </message>
    <message>
        <source>the key %1 is an entry key of the replacement list in [%2]: the field and the entry overwrite each other</source>
        <translation>der Schlüssel %1 ist ein Eintragsschlüssel der Ersetzungsliste in [%2]: Feld und Eintrag überschreiben einander</translation>
    </message>
    <message>
        <source>the key %1 of section [%2] is also on line %3: both fields read and write one key</source>
        <translation>der Schlüssel %1 des Abschnitts [%2] steht auch in Zeile %3: beide Felder lesen und schreiben denselben Schlüssel</translation>
    </message>
    <message>
        <source>%1 fields leave room for only %2 of the %3 replacement entries in the editor&apos;s table of 128 rows</source>
        <translation>%1 Felder lassen in der Tabelle des Editors mit 128 Zeilen nur Platz für %2 der %3 Ersetzungseinträge</translation>
    </message>
    <message>
        <source>the line is past the 128 fields the editor loads: ignored</source>
        <translation>die Zeile liegt hinter den 128 Feldern, die der Editor lädt: ignoriert</translation>
    </message>
    <message>
        <source>the Order list of %1 holds an empty item</source>
        <translation>die Order-Liste von %1 enthält einen leeren Eintrag</translation>
    </message>
    <message>
        <source>the Order list of %1 names %2, but the key is %3: the list compares exactly</source>
        <translation>die Order-Liste von %1 nennt %2, aber der Schlüssel lautet %3: die Liste vergleicht genau</translation>
    </message>
    <message>
        <source>the Order list of %1 names %2, which is not an ordered field of that section</source>
        <translation>die Order-Liste von %1 nennt %2, das kein geordnetes Feld dieses Abschnitts ist</translation>
    </message>
    <message>
        <source>the Order list of %1 names %2 twice: only the first counts</source>
        <translation>die Order-Liste von %1 nennt %2 zweimal: nur das erste Vorkommen zählt</translation>
    </message>
    <message>
        <source>the key %1 would hold entry %2, past the 13 entries a replacement list can hold: it is never read</source>
        <translation>der Schlüssel %1 würde Eintrag %2 aufnehmen, jenseits der 13 Einträge, die eine Ersetzungsliste fassen kann: er wird nie gelesen</translation>
    </message>
    <message>
        <source>%1 holds %2 without a comma: it ends the replacement list, and a save empties it</source>
        <translation>%1 enthält %2 ohne Komma: das beendet die Ersetzungsliste, und beim Speichern wird der Schlüssel geleert</translation>
    </message>
    <message>
        <source>%1 is not read: the replacement list stops at the missing %2, and a save overwrites it once the list has %3 entries or more</source>
        <translation>%1 wird nicht gelesen: die Ersetzungsliste endet beim fehlenden %2, und beim Speichern wird er überschrieben, sobald die Liste %3 oder mehr Einträge hat</translation>
    </message>
    <message>
        <source>%1 comes after the end of the replacement list (%2): it is not read, and a save overwrites it once the list has %3 entries or more</source>
        <translation>%1 steht nach dem Ende der Ersetzungsliste (%2): er wird nicht gelesen, und beim Speichern wird er überschrieben, sobald die Liste %3 oder mehr Einträge hat</translation>
    </message>
    <message>
        <source>%1 has no Order key: its ordered fields show in catalogue order</source>
        <translation>%1 hat keinen Order-Schlüssel: seine geordneten Felder erscheinen in der Reihenfolge des Katalogs</translation>
    </message>
    <message>
        <source>the Order list of %1 does not name %2: the editor gives it position 1</source>
        <translation>die Order-Liste von %1 nennt %2 nicht: der Editor gibt ihm Position 1</translation>
    </message>
    <message>
        <source>the line holds the key &quot;r=&quot; of a 14th replacement entry, which no reader can take apart: it reads as the key &quot;r&quot;</source>
        <translation>die Zeile enthält den Schlüssel „r=“ eines 14. Ersetzungseintrags, den kein Leser zerlegen kann: er wird als Schlüssel „r“ gelesen</translation>
    </message>
    <message>
        <source>id, name, order flag, label, kind, icon</source>
        <translation>Nummer, Name, Reihenfolge-Kennzeichen, Beschriftung, Art, Symbol</translation>
    </message>
    <message>
        <source>id</source>
        <translation>Nummer</translation>
    </message>
    <message>
        <source>the section id is %1 on section line %2: ids must run 1, 2, 3... in file order, since documents find a section by its position</source>
        <translation>die Abschnittsnummer ist %1 in Abschnittszeile %2: die Nummern müssen in Dateireihenfolge 1, 2, 3... lauten, da Dokumente einen Abschnitt über seine Position finden</translation>
    </message>
    <message>
        <source>the section name is empty</source>
        <translation>der Abschnittsname ist leer</translation>
    </message>
    <message>
        <source>the section</source>
        <translation>der Abschnitt</translation>
    </message>
    <message>
        <source>icon</source>
        <translation>Symbol</translation>
    </message>
    <message>
        <source>the label %1 is also on line %2: the editor cannot tell the two sections apart</source>
        <translation>die Beschriftung %1 steht auch in Zeile %2: der Editor kann die beiden Abschnitte nicht unterscheiden</translation>
    </message>
    <message>
        <source>the section name %1 is also on line %2: both sections read and write one section of a document</source>
        <translation>der Abschnittsname %1 steht auch in Zeile %2: beide Abschnitte lesen und schreiben denselben Abschnitt eines Dokuments</translation>
    </message>
    <message>
        <source>a second section of kind SR: only the first (line %1) holds the replacement list</source>
        <translation>ein zweiter Abschnitt der Art SR: nur der erste (Zeile %1) enthält die Ersetzungsliste</translation>
    </message>
    <message>
        <source>the line is past the 64 sections the editor loads: ignored</source>
        <translation>die Zeile liegt hinter den 64 Abschnitten, die der Editor lädt: ignoriert</translation>
    </message>
    <message>
        <source>%1 more findings like the one on line %2 are not listed</source>
        <translation>%1 weitere Befunde wie der in Zeile %2 werden nicht aufgeführt</translation>
    </message>
</context>
<context>
    <name>CommandLine</name>
    <message>
        <source>TAV Configuration Manager: edits .tac documents.</source>
        <translation>TAV Configuration Manager: bearbeitet .tac-Dokumente.</translation>
    </message>
    <message>
        <source>Read Sections.txt and Fields.txt from DIR (no other folder is searched).</source>
        <translation>Sections.txt und Fields.txt aus DIR lesen (kein anderer Ordner wird durchsucht).</translation>
    </message>
    <message>
        <source>The document to open; one that does not exist opens as a new document.</source>
        <translation>Das zu öffnende Dokument; ein nicht vorhandenes wird als neues Dokument geöffnet.</translation>
    </message>
    <message>
        <source>Only one file can be opened.</source>
        <translation>Es kann nur eine Datei geöffnet werden.</translation>
    </message>
</context>
<context>
    <name>ConfigApp</name>
    <message>
        <source>Not everything in this file could be loaded.</source>
        <translation>Nicht alles in dieser Datei konnte geladen werden.</translation>
    </message>
    <message>
        <source>The last folder and files used could not be read from the settings.</source>
        <translation>Der zuletzt verwendete Ordner und die zuletzt verwendeten Dateien konnten nicht aus den Einstellungen gelesen werden.</translation>
    </message>
    <message>
        <source>The last folder and files used could not be stored in the settings.</source>
        <translation>Der zuletzt verwendete Ordner und die zuletzt verwendeten Dateien konnten nicht in den Einstellungen gespeichert werden.</translation>
    </message>
    <message>
        <source>the settings file is not in a readable form</source>
        <translation>die Einstellungsdatei liegt nicht in lesbarer Form vor</translation>
    </message>
    <message>
        <source>the settings file cannot be accessed</source>
        <translation>auf die Einstellungsdatei kann nicht zugegriffen werden</translation>
    </message>
    <message>
        <source>The catalogue folder could not be stored in the settings.</source>
        <translation>Der Katalogordner konnte nicht in den Einstellungen gespeichert werden.</translation>
    </message>
</context>
<context>
    <name>ConfigTreeModel</name>
    <message>
        <source>String [%1] Replaced by [%2]</source>
        <translation>Zeichenkette [%1] ersetzt durch [%2]</translation>
    </message>
    <message>
        <source>none</source>
        <translation>keine</translation>
    </message>
    <message>
        <source>File : [%1]</source>
        <translation>Datei : [%1]</translation>
    </message>
    <message>
        <source>Parameters</source>
        <translation>Parameter</translation>
    </message>
</context>
<context>
    <name>DialogFileChooser</name>
    <message>
        <source>TAC files (*.tac)</source>
        <translation>TAC-Dateien (*.tac)</translation>
    </message>
    <message>
        <source>Catalogue Folder</source>
        <translation>Katalogordner</translation>
    </message>
</context>
<context>
    <name>Document</name>
    <message>
        <source>(new document)</source>
        <translation>(neues Dokument)</translation>
    </message>
    <message>
        <source>row %1 is not a catalogued field</source>
        <translation>Zeile %1 ist kein Feld des Katalogs</translation>
    </message>
    <message>
        <source>the True/False field %1 takes True or False, not &quot;%2&quot;</source>
        <translation>das True/False-Feld %1 nimmt True oder False an, nicht „%2“</translation>
    </message>
    <message>
        <source>row %1 is not a replacement entry</source>
        <translation>Zeile %1 ist kein Ersetzungseintrag</translation>
    </message>
    <message>
        <source>the catalogue has no section for string replacements</source>
        <translation>der Katalog hat keinen Abschnitt für Zeichenkettenersetzungen</translation>
    </message>
    <message>
        <source>the list of string replacements is full: it holds at most %1 entries</source>
        <translation>die Liste der Zeichenkettenersetzungen ist voll: sie fasst höchstens %1 Einträge</translation>
    </message>
    <message>
        <source>only an ordered field can move, and only before another ordered field of its own section</source>
        <translation>nur ein geordnetes Feld kann verschoben werden, und nur vor ein anderes geordnetes Feld seines eigenen Abschnitts</translation>
    </message>
    <message>
        <source>the text to replace cannot hold the characters %1: a document stores a comma that way, so they would read back as a comma</source>
        <translation>der zu ersetzende Text darf die Zeichen %1 nicht enthalten: ein Dokument speichert so ein Komma, sie würden also als Komma zurückgelesen</translation>
    </message>
    <message>
        <source>The replacement entries from &quot;%1&quot; on in section [%2] were not loaded: the field table holds at most %3 rows.</source>
        <translation>Die Ersetzungseinträge ab „%1“ im Abschnitt [%2] wurden nicht geladen: die Feldtabelle fasst höchstens %3 Zeilen.</translation>
    </message>
    <message>
        <source>the file was changed by someone else</source>
        <translation>die Datei wurde von jemand anderem geändert</translation>
    </message>
    <message>
        <source>(no file)</source>
        <translation>(keine Datei)</translation>
    </message>
    <message>
        <source>the document has no file name yet</source>
        <translation>das Dokument hat noch keinen Dateinamen</translation>
    </message>
    <message>
        <source>the edits were refused</source>
        <translation>die Änderungen wurden abgelehnt</translation>
    </message>
</context>
<context>
    <name>FileError</name>
    <message>
        <source>is a folder, not a file</source>
        <translation>ist ein Ordner, keine Datei</translation>
    </message>
    <message>
        <source>is not a regular file</source>
        <translation>ist keine reguläre Datei</translation>
    </message>
    <message>
        <source>%1; nothing was written</source>
        <translation>%1; es wurde nichts geschrieben</translation>
    </message>
    <message>
        <source>the new content is saved, but %1</source>
        <translation>der neue Inhalt ist gespeichert, aber %1</translation>
    </message>
    <message>
        <source>%1; the file is incomplete: the complete new content is in %2 (tacconf set --recover %3 restores it, as does opening the file in the editor)</source>
        <translation>%1; die Datei ist unvollständig: der vollständige neue Inhalt steht in %2 (tacconf set --recover %3 stellt ihn wieder her, ebenso das Öffnen der Datei im Editor)</translation>
    </message>
    <message>
        <source>%1: %2</source>
        <translation>%1: %2</translation>
    </message>
    <message>
        <source>the text is not valid UTF-8</source>
        <translation>der Text ist kein gültiges UTF-8</translation>
    </message>
    <message>
        <source>the character %1 cannot be stored in a Windows-1252 document</source>
        <translation>das Zeichen %1 kann nicht in einem Windows-1252-Dokument gespeichert werden</translation>
    </message>
</context>
<context>
    <name>Help</name>
    <message>
        <source>an object lies outside the file</source>
        <translation>ein Objekt liegt außerhalb der Datei</translation>
    </message>
    <message>
        <source>its directory lists a compression table twice</source>
        <translation>ihr Verzeichnis führt eine Kompressionstabelle doppelt auf</translation>
    </message>
    <message>
        <source>its compressed section is missing</source>
        <translation>ihr komprimierter Bereich fehlt</translation>
    </message>
    <message>
        <source>its compression tables are damaged</source>
        <translation>ihre Kompressionstabellen sind beschädigt</translation>
    </message>
    <message>
        <source>a compressed object lies outside the compressed section</source>
        <translation>ein komprimiertes Objekt liegt außerhalb des komprimierten Bereichs</translation>
    </message>
    <message>
        <source>it is not a compiled help file (no ITSF signature)</source>
        <translation>sie ist keine kompilierte Hilfedatei (keine ITSF-Signatur)</translation>
    </message>
    <message>
        <source>its header has an unknown version</source>
        <translation>ihr Kopf hat eine unbekannte Version</translation>
    </message>
    <message>
        <source>its directory lies outside the file</source>
        <translation>ihr Verzeichnis liegt außerhalb der Datei</translation>
    </message>
    <message>
        <source>its content lies outside the file</source>
        <translation>ihr Inhalt liegt außerhalb der Datei</translation>
    </message>
    <message>
        <source>its directory header is damaged</source>
        <translation>ihr Verzeichniskopf ist beschädigt</translation>
    </message>
    <message>
        <source>its directory pages do not fit the directory</source>
        <translation>ihre Verzeichnisseiten passen nicht in das Verzeichnis</translation>
    </message>
    <message>
        <source>its directory has no valid first page</source>
        <translation>ihr Verzeichnis hat keine gültige erste Seite</translation>
    </message>
    <message>
        <source>a directory page points outside the directory</source>
        <translation>eine Verzeichnisseite zeigt aus dem Verzeichnis hinaus</translation>
    </message>
    <message>
        <source>its directory pages form a loop</source>
        <translation>ihre Verzeichnisseiten bilden eine Schleife</translation>
    </message>
    <message>
        <source>a directory page is damaged</source>
        <translation>eine Verzeichnisseite ist beschädigt</translation>
    </message>
    <message>
        <source>a directory index page is damaged</source>
        <translation>eine Indexseite des Verzeichnisses ist beschädigt</translation>
    </message>
    <message>
        <source>its directory index forms a loop</source>
        <translation>ihr Verzeichnisindex bildet eine Schleife</translation>
    </message>
    <message>
        <source>it is too large for a help file</source>
        <translation>sie ist zu groß für eine Hilfedatei</translation>
    </message>
    <message>
        <source>it is damaged: %1</source>
        <translation>sie ist beschädigt: %1</translation>
    </message>
    <message>
        <source>the help file reader %1 cannot be used: %2</source>
        <translation>das Leseprogramm für Hilfedateien %1 kann nicht verwendet werden: %2</translation>
    </message>
    <message>
        <source>it could not be opened as a help file</source>
        <translation>sie konnte nicht als Hilfedatei geöffnet werden</translation>
    </message>
    <message>
        <source>it could not be loaded</source>
        <translation>sie konnte nicht geladen werden</translation>
    </message>
    <message>
        <source>it has no function %1</source>
        <translation>ihr fehlt die Funktion %1</translation>
    </message>
</context>
<context>
    <name>LockWaitNotice</name>
    <message>
        <source>Waiting for %1 to release %2…

Cancel gives up: nothing will be written.</source>
        <translation>Warten, bis %1 %2 freigibt…

Abbrechen gibt auf: es wird nichts geschrieben.</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Abbrechen</translation>
    </message>
</context>
<context>
    <name>MessageBoxReporter</name>
    <message>
        <source>TAV Configuration Manager</source>
        <translation>TAV Configuration Manager</translation>
    </message>
    <message>
        <source>the new document</source>
        <translation>dem neuen Dokument</translation>
    </message>
    <message>
        <source>Save the changes to %1?</source>
        <translation>Änderungen an %1 speichern?</translation>
    </message>
    <message>
        <source>&amp;Save</source>
        <translation>&amp;Speichern</translation>
    </message>
    <message>
        <source>&amp;Discard</source>
        <translation>&amp;Verwerfen</translation>
    </message>
    <message>
        <source>&amp;Cancel</source>
        <translation>&amp;Abbrechen</translation>
    </message>
    <message>
        <source>An earlier save of %1 did not finish: the file may be incomplete. The complete content of that save is in
%2</source>
        <translation>Ein früheres Speichern von %1 wurde nicht beendet: die Datei ist möglicherweise unvollständig. Der vollständige Inhalt dieses Speicherns steht in
%2</translation>
    </message>
    <message>
        <source>Restore puts that content into the file; keeping the file as it is removes the copy.</source>
        <translation>Wiederherstellen schreibt diesen Inhalt in die Datei; wenn Sie die Datei unverändert lassen, wird die Kopie entfernt.</translation>
    </message>
    <message>
        <source>&amp;Restore</source>
        <translation>&amp;Wiederherstellen</translation>
    </message>
    <message>
        <source>&amp;Keep the file as it is</source>
        <translation>Datei &amp;unverändert lassen</translation>
    </message>
    <message>
        <source>%1 is no longer there.</source>
        <translation>%1 ist nicht mehr vorhanden.</translation>
    </message>
    <message>
        <source>Remove it from the list of recent files?</source>
        <translation>Aus der Liste der zuletzt geöffneten Dateien entfernen?</translation>
    </message>
    <message>
        <source>&amp;Remove</source>
        <translation>&amp;Entfernen</translation>
    </message>
    <message>
        <source>&amp;Keep</source>
        <translation>&amp;Behalten</translation>
    </message>
    <message>
        <source>Without catalogues the editor opens, but shows no settings.</source>
        <translation>Ohne Kataloge öffnet der Editor, zeigt aber keine Einstellungen.</translation>
    </message>
    <message>
        <source>Cancel keeps the catalogues in use.</source>
        <translation>Abbrechen behält die Kataloge in Gebrauch.</translation>
    </message>
    <message>
        <source>&amp;Choose folder...</source>
        <translation>&amp;Ordner wählen...</translation>
    </message>
    <message>
        <source>&amp;Use the example catalogues</source>
        <translation>&amp;Beispielkataloge verwenden</translation>
    </message>
    <message>
        <source>Go on &amp;without</source>
        <translation>Ohne &amp;fortfahren</translation>
    </message>
</context>
<context>
    <name>Profile</name>
    <message>
        <source>the key &quot;%1&quot; of section [%2] holds a line break</source>
        <translation>der Schlüssel „%1“ des Abschnitts [%2] enthält einen Zeilenumbruch</translation>
    </message>
    <message>
        <source>the value of the key &quot;%1&quot; of section [%2] holds a line break</source>
        <translation>der Wert des Schlüssels „%1“ des Abschnitts [%2] enthält einen Zeilenumbruch</translation>
    </message>
    <message>
        <source>the value of the key &quot;%1&quot; of section [%2] holds a NUL byte: readers would take only the text before it</source>
        <translation>der Wert des Schlüssels „%1“ des Abschnitts [%2] enthält ein NUL-Byte: Leser würden nur den Text davor übernehmen</translation>
    </message>
    <message>
        <source>the key &quot;%1&quot; of section [%2] cannot be stored: a key must not be empty, hold &quot;=&quot; or start with &quot;[&quot;</source>
        <translation>der Schlüssel „%1“ des Abschnitts [%2] kann nicht gespeichert werden: ein Schlüssel darf nicht leer sein, kein „=“ enthalten und nicht mit „[“ beginnen</translation>
    </message>
</context>
<context>
    <name>QObject</name>
    <message>
        <source>Setting</source>
        <translation>Einstellung</translation>
    </message>
    <message>
        <source>Mine</source>
        <translation>Mein Wert</translation>
    </message>
    <message>
        <source>In the file (checked: use it)</source>
        <translation>In der Datei (angehakt: verwenden)</translation>
    </message>
    <message>
        <source>The file was changed</source>
        <translation>Die Datei wurde geändert</translation>
    </message>
    <message>
        <source>%1 was changed on the disk since you opened or saved it. Merge keeps your edits and the other changes.</source>
        <translation>%1 wurde auf dem Datenträger geändert, seit Sie es geöffnet oder gespeichert haben. Zusammenführen behält Ihre Änderungen und die anderen Änderungen.</translation>
    </message>
    <message>
        <source>%1 was changed on the disk since you opened or saved it, and these settings were changed on both sides. Check the ones whose value in the file should win, then Merge.</source>
        <translation>%1 wurde auf dem Datenträger geändert, seit Sie es geöffnet oder gespeichert haben, und diese Einstellungen wurden auf beiden Seiten geändert. Haken Sie die an, deren Wert aus der Datei gelten soll, und wählen Sie dann Zusammenführen.</translation>
    </message>
    <message>
        <source>&amp;Merge</source>
        <translation>&amp;Zusammenführen</translation>
    </message>
    <message>
        <source>&amp;Overwrite</source>
        <translation>Ü&amp;berschreiben</translation>
    </message>
    <message>
        <source>&amp;Reload</source>
        <translation>&amp;Neu laden</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Abbrechen</translation>
    </message>
    <message>
        <source>The list of string replacements</source>
        <translation>Die Liste der Zeichenkettenersetzungen</translation>
    </message>
    <message>
        <source>as edited here</source>
        <translation>wie hier bearbeitet</translation>
    </message>
    <message>
        <source>as in the file</source>
        <translation>wie in der Datei</translation>
    </message>
    <message>
        <source>The order of %1</source>
        <translation>Die Reihenfolge von %1</translation>
    </message>
</context>
<context>
    <name>Storage</name>
    <message>
        <source>cannot open: </source>
        <translation>kann nicht geöffnet werden: </translation>
    </message>
    <message>
        <source>is a folder, not a file</source>
        <translation>ist ein Ordner, keine Datei</translation>
    </message>
    <message>
        <source>is not a regular file</source>
        <translation>ist keine reguläre Datei</translation>
    </message>
    <message>
        <source>the file keeps being replaced by other programs</source>
        <translation>die Datei wird immer wieder von anderen Programmen ersetzt</translation>
    </message>
    <message>
        <source>an earlier save of this file did not finish: the file may be incomplete, and the complete content of that save is in %1 (restore it with tacconf set --recover, or open the file in the editor, which offers to)</source>
        <translation>ein früheres Speichern dieser Datei wurde nicht beendet: die Datei ist möglicherweise unvollständig, und der vollständige Inhalt dieses Speicherns steht in %1 (stellen Sie ihn mit tacconf set --recover wieder her, oder öffnen Sie die Datei im Editor, der es anbietet)</translation>
    </message>
    <message>
        <source>is a symbolic link (%1) to a file that does not exist; no file is created through it</source>
        <translation>ist ein symbolischer Link (%1) auf eine nicht vorhandene Datei; über ihn wird keine Datei angelegt</translation>
    </message>
    <message>
        <source>cannot read: </source>
        <translation>kann nicht gelesen werden: </translation>
    </message>
    <message>
        <source>(no file)</source>
        <translation>(keine Datei)</translation>
    </message>
    <message>
        <source>the document has no file name yet</source>
        <translation>das Dokument hat noch keinen Dateinamen</translation>
    </message>
    <message>
        <source>the file kept changing while it was being saved (read %1 times)</source>
        <translation>die Datei hat sich während des Speicherns immer wieder geändert (%1-mal gelesen)</translation>
    </message>
    <message>
        <source>another program</source>
        <translation>ein anderes Programm</translation>
    </message>
    <message>
        <source>process %1</source>
        <translation>Prozess %1</translation>
    </message>
    <message>
        <source>%1 (process %2)</source>
        <translation>%1 (Prozess %2)</translation>
    </message>
    <message>
        <source>cannot lock the file: </source>
        <translation>die Datei kann nicht gesperrt werden: </translation>
    </message>
    <message>
        <source>the file is locked by %1; gave up after %2 s</source>
        <translation>die Datei ist von %1 gesperrt; nach %2 s aufgegeben</translation>
    </message>
    <message>
        <source>cannot list the extended attributes: </source>
        <translation>die erweiterten Attribute können nicht aufgelistet werden: </translation>
    </message>
    <message>
        <source>cannot read the extended attribute %1: </source>
        <translation>das erweiterte Attribut %1 kann nicht gelesen werden: </translation>
    </message>
    <message>
        <source>cannot remove the extended attribute %1: </source>
        <translation>das erweiterte Attribut %1 kann nicht entfernt werden: </translation>
    </message>
    <message>
        <source>cannot set the extended attribute %1: </source>
        <translation>das erweiterte Attribut %1 kann nicht gesetzt werden: </translation>
    </message>
    <message>
        <source>cannot give the new file the owner and group of the old one: </source>
        <translation>die neue Datei kann nicht Besitzer und Gruppe der alten erhalten: </translation>
    </message>
    <message>
        <source>cannot set permissions: </source>
        <translation>die Zugriffsrechte können nicht gesetzt werden: </translation>
    </message>
    <message>
        <source>cannot check the file: </source>
        <translation>die Datei kann nicht geprüft werden: </translation>
    </message>
    <message>
        <source>the file is read-only</source>
        <translation>die Datei ist schreibgeschützt</translation>
    </message>
    <message>
        <source>cannot write: </source>
        <translation>kann nicht geschrieben werden: </translation>
    </message>
    <message>
        <source>cannot cut the file to size: </source>
        <translation>die Datei kann nicht auf ihre Größe gekürzt werden: </translation>
    </message>
    <message>
        <source>cannot flush to disk: </source>
        <translation>kann nicht auf den Datenträger geschrieben werden: </translation>
    </message>
    <message>
        <source>its copy %1 could not be removed: </source>
        <translation>ihre Kopie %1 konnte nicht entfernt werden: </translation>
    </message>
    <message>
        <source>cannot create a file in the cache folder: </source>
        <translation>im Cache-Ordner kann keine Datei angelegt werden: </translation>
    </message>
    <message>
        <source>%1, nor a copy for writing the file in place: %2</source>
        <translation>%1, und auch keine Kopie für das Schreiben der Datei an Ort und Stelle: %2</translation>
    </message>
    <message>
        <source>cannot replace the file: </source>
        <translation>die Datei kann nicht ersetzt werden: </translation>
    </message>
    <message>
        <source>it may not survive a crash: %1</source>
        <translation>sie übersteht einen Absturz womöglich nicht: %1</translation>
    </message>
    <message>
        <source>cannot create the file: </source>
        <translation>die Datei kann nicht angelegt werden: </translation>
    </message>
    <message>
        <source>cannot read the copy %1: %2</source>
        <translation>die Kopie %1 kann nicht gelesen werden: %2</translation>
    </message>
    <message>
        <source>cannot remove the copy %1: %2</source>
        <translation>die Kopie %1 kann nicht entfernt werden: %2</translation>
    </message>
    <message>
        <source>cannot open the folder: </source>
        <translation>der Ordner kann nicht geöffnet werden: </translation>
    </message>
    <message>
        <source>the symbolic link %1 belongs to %2, not to you or to the owner of %3, a folder others can write to; it is not followed</source>
        <translation>der symbolische Link %1 gehört %2, weder Ihnen noch dem Besitzer von %3, einem Ordner, in den andere schreiben dürfen; ihm wird nicht gefolgt</translation>
    </message>
    <message>
        <source>no file name was given</source>
        <translation>es wurde kein Dateiname angegeben</translation>
    </message>
    <message>
        <source>cannot open %1: </source>
        <translation>%1 kann nicht geöffnet werden: </translation>
    </message>
    <message>
        <source>cannot read the link %1: </source>
        <translation>der Link %1 kann nicht gelesen werden: </translation>
    </message>
    <message>
        <source>cannot create a file in %1: </source>
        <translation>in %1 kann keine Datei angelegt werden: </translation>
    </message>
    <message>
        <source>cannot find a cache folder for the copy: no home folder</source>
        <translation>für die Kopie ist kein Cache-Ordner zu finden: kein Benutzerordner</translation>
    </message>
    <message>
        <source>cannot make the cache folder %1: </source>
        <translation>der Cache-Ordner %1 kann nicht angelegt werden: </translation>
    </message>
    <message>
        <source>cannot use the cache folder %1 (it must be a real folder): </source>
        <translation>der Cache-Ordner %1 kann nicht verwendet werden (er muss ein echter Ordner sein): </translation>
    </message>
    <message>
        <source>cannot use the cache folder %1: it must belong to you and be open to nobody else (mode 0700)</source>
        <translation>der Cache-Ordner %1 kann nicht verwendet werden: er muss Ihnen gehören und für niemanden sonst offen sein (Modus 0700)</translation>
    </message>
    <message>
        <source>cannot rename %1: </source>
        <translation>%1 kann nicht umbenannt werden: </translation>
    </message>
    <message>
        <source>cannot flush the folder %1 to disk: </source>
        <translation>der Ordner %1 kann nicht auf den Datenträger geschrieben werden: </translation>
    </message>
    <message>
        <source>is a link that belongs neither to you nor to the owner of its folder %1; it is not followed</source>
        <translation>ist eine Verknüpfung, die weder Ihnen noch dem Besitzer ihres Ordners %1 gehört; ihr wird nicht gefolgt</translation>
    </message>
    <message>
        <source>the folder %1 does not exist</source>
        <translation>der Ordner %1 existiert nicht</translation>
    </message>
    <message>
        <source>there is no cache folder (LOCALAPPDATA is not set)</source>
        <translation>es gibt keinen Cache-Ordner (LOCALAPPDATA ist nicht gesetzt)</translation>
    </message>
    <message>
        <source>the cache folder %1 is not a folder</source>
        <translation>der Cache-Ordner %1 ist kein Ordner</translation>
    </message>
</context>
<context>
    <name>tacconf</name>
    <message>
        <source>--files is given twice</source>
        <translation>--files ist zweimal angegeben</translation>
    </message>
    <message>
        <source>--files takes FILE... ended by --</source>
        <translation>--files nimmt DATEI... an, beendet mit --</translation>
    </message>
    <message>
        <source>--files needs at least one file</source>
        <translation>--files braucht mindestens eine Datei</translation>
    </message>
    <message>
        <source>--files - reads the list from standard input and takes no other file</source>
        <translation>--files - liest die Liste von der Standardeingabe und nimmt keine weitere Datei an</translation>
    </message>
    <message>
        <source>--wait needs a number of seconds</source>
        <translation>--wait braucht eine Anzahl Sekunden</translation>
    </message>
    <message>
        <source>--wait takes a number of seconds from 0 to 86400, not &quot;%1&quot;</source>
        <translation>--wait nimmt eine Anzahl Sekunden von 0 bis 86400 an, nicht „%1“</translation>
    </message>
    <message>
        <source>--catalogues needs a folder</source>
        <translation>--catalogues braucht einen Ordner</translation>
    </message>
    <message>
        <source>--encoding takes utf-8 or windows-1252, not &quot;%1&quot;</source>
        <translation>--encoding nimmt utf-8 oder windows-1252 an, nicht „%1“</translation>
    </message>
    <message>
        <source>--encoding takes utf-8 or windows-1252</source>
        <translation>--encoding nimmt utf-8 oder windows-1252 an</translation>
    </message>
    <message>
        <source>unknown option %1</source>
        <translation>unbekannte Option %1</translation>
    </message>
    <message>
        <source>missing operand</source>
        <translation>fehlender Operand</translation>
    </message>
    <message>
        <source>too many operands (from &quot;%1&quot; on)</source>
        <translation>zu viele Operanden (ab „%1“)</translation>
    </message>
    <message>
        <source>no problems</source>
        <translation>keine Probleme</translation>
    </message>
    <message>
        <source>1 problem</source>
        <translation>1 Problem</translation>
    </message>
    <message>
        <source>%1 problems</source>
        <translation>%1 Probleme</translation>
    </message>
    <message>
        <source>1 document</source>
        <translation>1 Dokument</translation>
    </message>
    <message>
        <source>%1 documents</source>
        <translation>%1 Dokumenten</translation>
    </message>
    <message>
        <source>tacconf: %1 found in the catalogues and %2</source>
        <translation>tacconf: %1 in den Katalogen und %2 gefunden</translation>
    </message>
    <message>
        <source>an earlier save of this file did not finish: the file may be incomplete; the complete content of that save is in %1 (tacconf set --recover restores it)</source>
        <translation>ein früheres Speichern dieser Datei wurde nicht beendet: die Datei ist möglicherweise unvollständig; der vollständige Inhalt dieses Speicherns steht in %1 (tacconf set --recover stellt ihn wieder her)</translation>
    </message>
    <message>
        <source>a finished save left its copy %1 (the file holds the same content; the next save removes it)</source>
        <translation>ein beendetes Speichern hat seine Kopie %1 hinterlassen (die Datei hat denselben Inhalt; das nächste Speichern entfernt sie)</translation>
    </message>
    <message>
        <source>a save that was stopped left its temporary file %1 (the next save removes it)</source>
        <translation>ein abgebrochenes Speichern hat seine temporäre Datei %1 hinterlassen (das nächste Speichern entfernt sie)</translation>
    </message>
    <message>
        <source>Usage: tacconf diff FILE [--ignore-stamps]

Shows, as a unified diff, the lines a save of the document FILE would change
if it were opened in the editor and saved at once: the Version and Updated
stamps, booleans written as 1 or 0, Order lists written from the display
order, replacement entries numbered afresh and the empty key that ends them,
keys the document lacks. Nothing is written.

Lines are compared with their endings; a CR LF file gives CR LF lines in the
diff, byte for byte (in the document&apos;s own encoding), so that patch can apply
it.

With --ignore-stamps, the Version and Updated lines of section TACInfo are
left out: the diff shows them as the file holds them (and leaves out those a
save would add), so a document just saved in the editor shows no change.

Options:
  --ignore-stamps   leave the Version and Updated stamps out of the diff
  --catalogues DIR  read Sections.txt and Fields.txt from DIR instead of
                    searching for them (see tacconf --help)
  --encoding NAME   read the document as utf-8 or windows-1252 instead of the
                    encoding its bytes show; a save keeps the bytes either way
  --help            show this text

Exit status: 0 a save would change nothing; 1 it would change the lines
shown; 2 usage error, unreadable file, or a save that would fail.
</source>
        <translation>Aufruf: tacconf diff DATEI [--ignore-stamps]

Zeigt als Unified Diff die Zeilen, die ein Speichern des Dokuments DATEI
ändern würde, wenn es im Editor geöffnet und sofort gespeichert würde: die
Stempel Version und Updated, Wahrheitswerte als 1 oder 0 geschrieben,
Order-Listen aus der Anzeigereihenfolge geschrieben, Ersetzungseinträge neu
nummeriert und der leere Schlüssel, der sie beendet, Schlüssel, die dem
Dokument fehlen. Es wird nichts geschrieben.

Zeilen werden mit ihren Zeilenenden verglichen; eine CR-LF-Datei ergibt
CR-LF-Zeilen im Diff, Byte für Byte (in der Kodierung des Dokuments), sodass
patch ihn anwenden kann.

Mit --ignore-stamps bleiben die Zeilen Version und Updated des Abschnitts
TACInfo außen vor: der Diff zeigt sie, wie die Datei sie enthält (und lässt
die aus, die ein Speichern hinzufügen würde), sodass ein gerade im Editor
gespeichertes Dokument keine Änderung zeigt.

Optionen:
  --ignore-stamps      die Stempel Version und Updated aus dem Diff lassen
  --catalogues ORDNER  Sections.txt und Fields.txt aus ORDNER lesen, statt
                       sie zu suchen (siehe tacconf --help)
  --encoding NAME      das Dokument als utf-8 oder windows-1252 lesen statt in
                       der Kodierung, die seine Bytes zeigen; ein Speichern
                       behält die Bytes so oder so
  --help               diesen Text zeigen

Rückgabewert: 0 ein Speichern würde nichts ändern; 1 es würde die gezeigten
Zeilen ändern; 2 Aufruffehler, unlesbare Datei oder ein Speichern, das
fehlschlagen würde.
</translation>
    </message>
    <message>
        <source>%1: a save would fail: %2</source>
        <translation>%1: ein Speichern würde fehlschlagen: %2</translation>
    </message>
    <message>
        <source>tacconf: warning: %1</source>
        <translation>tacconf: Warnung: %1</translation>
    </message>
    <message>
        <source>%1 (the program&apos;s own folder is unknown: %2); give --catalogues DIR</source>
        <translation>%1 (der eigene Ordner des Programms ist unbekannt: %2); geben Sie --catalogues ORDNER an</translation>
    </message>
    <message>
        <source>%1; give --catalogues DIR</source>
        <translation>%1; geben Sie --catalogues ORDNER an</translation>
    </message>
    <message>
        <source>%1 is not of the form SECTION.KEY</source>
        <translation>%1 hat nicht die Form ABSCHNITT.SCHLÜSSEL</translation>
    </message>
    <message>
        <source>%1: the catalogue has no section %2</source>
        <translation>%1: der Katalog hat keinen Abschnitt %2</translation>
    </message>
    <message>
        <source>%1: the catalogue describes no key %2 in section [%3]</source>
        <translation>%1: der Katalog beschreibt keinen Schlüssel %2 im Abschnitt [%3]</translation>
    </message>
    <message>
        <source>%1: the replacement list holds at most %2 entries, %3 to %4</source>
        <translation>%1: die Ersetzungsliste fasst höchstens %2 Einträge, %3 bis %4</translation>
    </message>
    <message>
        <source>%1: the document has no replacement entry %2 (it has %3)</source>
        <translation>%1: das Dokument hat keinen Ersetzungseintrag %2 (es hat %3)</translation>
    </message>
    <message>
        <source>--all takes no SECTION.KEY</source>
        <translation>--all nimmt kein ABSCHNITT.SCHLÜSSEL an</translation>
    </message>
    <message>
        <source>missing SECTION.KEY</source>
        <translation>ABSCHNITT.SCHLÜSSEL fehlt</translation>
    </message>
    <message>
        <source>tacconf: the output could not be written</source>
        <translation>tacconf: die Ausgabe konnte nicht geschrieben werden</translation>
    </message>
    <message>
        <source>%1 (the first folder of the catalogue search that has both files; --catalogues DIR names another)</source>
        <translation>%1 (der erste Ordner der Katalogsuche, der beide Dateien hat; --catalogues ORDNER nennt einen anderen)</translation>
    </message>
    <message>
        <source>waiting for %1 to release %2 (up to %3 s; --wait SECONDS changes that)</source>
        <translation>warte darauf, dass %1 %2 freigibt (bis zu %3 s; --wait SEKUNDEN ändert das)</translation>
    </message>
    <message>
        <source>there is no entry %1 to delete (the document has %2 replacement entries)</source>
        <translation>es gibt keinen Eintrag %1 zum Löschen (das Dokument hat %2 Ersetzungseinträge)</translation>
    </message>
    <message>
        <source>an entry takes FROM,TO (a comma in FROM written as \044), or &quot;&quot; to delete it</source>
        <translation>ein Eintrag nimmt VON,NACH an (ein Komma in VON als \044 geschrieben), oder &quot;&quot; zum Löschen</translation>
    </message>
    <message>
        <source>%1 would leave a gap; the next entry is %2</source>
        <translation>%1 würde eine Lücke lassen; der nächste Eintrag ist %2</translation>
    </message>
    <message>
        <source>the replacement list could not be read whole, so it is not changed</source>
        <translation>die Ersetzungsliste konnte nicht vollständig gelesen werden, daher wird sie nicht geändert</translation>
    </message>
    <message>
        <source>there is no entry %1 (the document has %2 replacement entries)</source>
        <translation>es gibt keinen Eintrag %1 (das Dokument hat %2 Ersetzungseinträge)</translation>
    </message>
    <message>
        <source>%1: %2; nothing was written</source>
        <translation>%1: %2; es wurde nichts geschrieben</translation>
    </message>
    <message>
        <source>set: --files - found no standard input to read the files from</source>
        <translation>set: --files - fand keine Standardeingabe, aus der die Dateien zu lesen wären</translation>
    </message>
    <message>
        <source>&quot;%1&quot; has no VALUE</source>
        <translation>„%1“ hat keinen WERT</translation>
    </message>
    <message>
        <source>Usage: tacconf version

Prints &quot;tacconf&quot; and the program&apos;s version, as &quot;tacconf --version&quot; does.

Exit status: 0 done; 2 usage error.
</source>
        <translation>Aufruf: tacconf version

Gibt „tacconf“ und die Version des Programms aus, wie „tacconf --version“.

Rückgabewert: 0 erledigt; 2 Aufruffehler.
</translation>
    </message>
    <message>
        <source>%1: %2
Try &apos;%1 --help&apos;.</source>
        <translation>%1: %2
Versuchen Sie „%1 --help“.</translation>
    </message>
    <message>
        <source>unknown command &quot;%1&quot;</source>
        <translation>unbekannter Befehl „%1“</translation>
    </message>
    <message>
        <source>missing command</source>
        <translation>fehlender Befehl</translation>
    </message>
    <message>
        <source>Usage: tacconf set [OPTIONS] FILE SECTION.KEY VALUE [SECTION.KEY VALUE]...
       tacconf set [OPTIONS] --files FILE... -- SECTION.KEY VALUE...
       tacconf set [OPTIONS] - SECTION.KEY VALUE...

Changes values of the document FILE and writes it back in one step, holding a
lock on it from reading to writing; the file keeps its owner, group, mode,
ACL, attributes and hard links. Only the keys named change; every other byte
of the file stays as it is. Unlike a save in the editor, set does not stamp the
Version and Updated keys. When a value is refused, nothing is written.

The word after SECTION.KEY is always its VALUE, even when it looks like an
option: &quot;tacconf set f.tac Printing.Header -h&quot; sets the value &quot;-h&quot;. Options
stand before FILE or a SECTION.KEY; after &quot;--&quot; every word is FILE, a key or a
value.

With --files, the same pairs are applied to each FILE listed up to &quot;--&quot; (with
&quot;--files - --&quot;, to each file named on a line of standard input). Each file is
changed all or nothing, as above; a file that fails does not stop the others.
One summary line follows: &quot;N changed, M unchanged, K failed&quot;.

With FILE &quot;-&quot;, the document is read from standard input and the result is
written to standard output; nothing is written to disk.

A file is changed when its bytes are: setting a value it already has writes
nothing and leaves the file as it was, time stamps included. --dry-run does
everything but the write. --diff prints the unified diff of the lines the
write changes (nothing when nothing changes). --json prints the result as one
JSON object instead of text (see &quot;JSON&quot; below); with --diff it holds the diff.

SECTION.KEY addresses a field as in &quot;tacconf get&quot;: a key the catalogues do not
describe is refused. A True/False field takes exactly True or False (written
as 1 or 0). Text values may hold anything but line breaks. Values are given in
UTF-8 and stored in the document&apos;s encoding; a character that encoding cannot
hold (in windows-1252: anything outside its 256 characters) is refused.

Replacement entries, in the replacement section:
  SECTION.rN FROM,TO  sets entry N (a comma in FROM written as \044); with
                      N one past the last entry, appends an entry
  SECTION.rN &quot;&quot;       deletes entry N; the later entries move up
  SECTION.rN.from TEXT, SECTION.rN.to TEXT
                      set one text of an existing entry (commas as they are)
The list holds at most 13 entries (r0 to r&lt;; r10, r11 and r12 name r:, r;
and r&lt;). After a change the whole list is
written back with the empty key that ends it, as the editor writes it.

JSON (--json): {&quot;format&quot;: 1, &quot;file&quot;: FILE, &quot;changed&quot;: true or false,
&quot;created&quot;: true or false, &quot;dry_run&quot;: true or false, &quot;settings&quot;: [...]} and,
with --diff, &quot;diff&quot;: the diff text; a file that failed has &quot;failed&quot;: true
and no &quot;changed&quot; (the reason goes to standard error). Each item of
&quot;settings&quot; is {&quot;key&quot;: SECTION.KEY as given, &quot;before&quot;: TEXT, &quot;after&quot;: TEXT},
the value as get prints it before and after, or null for an entry that does
not exist. With --files: {&quot;format&quot;: 1, &quot;files&quot;: [one object per file, as
above], &quot;changed&quot;: N, &quot;unchanged&quot;: M, &quot;failed&quot;: K}.

Options:
  --files FILE... --
                    change each FILE (- : the files named on standard input)
  --dry-run         change nothing: read, edit and report only
  --diff            print the diff of the lines the write changes
  --json            print the result as JSON
  --create          make FILE when it does not exist (without it, a missing
                    FILE is an error); the new document holds only the keys
                    set, with the mode --mode gives or 0666 less the umask
  --mode MODE       the permission bits, in octal, of a file --create makes
  --catalogues DIR  read Sections.txt and Fields.txt from DIR instead of
                    searching for them (see tacconf --help)
  --encoding NAME   read the document as utf-8 or windows-1252 instead of the
                    encoding its bytes show (see &quot;tacconf --help&quot;)
  --wait SECONDS    wait up to SECONDS (default 5) for a lock another program
                    holds on a document, then fail naming that program
  --recover         when an earlier save of a document did not finish (it was
                    killed while writing the file in place), first restore the
                    complete content that save kept in its copy, then apply the
                    pairs (none are needed); without it set refuses such a file
  --help            show this text

Exit status: 0 done; 2 usage error, refused value, a file that could not be
read or written, or a lock that was not released in time (with --files: in any
of the files). A failure says what state the file is in: &quot;nothing was
written&quot;, &quot;the new content is saved, but ...&quot;, or that the file is incomplete
and where the complete new content is.
</source>
        <translation>Aufruf: tacconf set [OPTIONEN] DATEI ABSCHNITT.SCHLÜSSEL WERT [ABSCHNITT.SCHLÜSSEL WERT]...
        tacconf set [OPTIONEN] --files DATEI... -- ABSCHNITT.SCHLÜSSEL WERT...
        tacconf set [OPTIONEN] - ABSCHNITT.SCHLÜSSEL WERT...

Ändert Werte des Dokuments DATEI und schreibt es in einem Schritt zurück; vom
Lesen bis zum Schreiben hält es eine Sperre auf der Datei. Die Datei behält
Besitzer, Gruppe, Modus, ACL, Attribute und harte Links. Nur die genannten
Schlüssel ändern sich; jedes andere Byte der Datei bleibt, wie es ist. Anders
als ein Speichern im Editor stempelt set die Schlüssel Version und Updated
nicht. Wird ein Wert abgelehnt, wird nichts geschrieben.

Das Wort nach ABSCHNITT.SCHLÜSSEL ist immer sein WERT, auch wenn es wie eine
Option aussieht: „tacconf set f.tac Printing.Header -h“ setzt den Wert „-h“.
Optionen stehen vor DATEI oder einem ABSCHNITT.SCHLÜSSEL; nach „--“ ist jedes
Wort DATEI, ein Schlüssel oder ein Wert.

Mit --files werden dieselben Paare auf jede bis „--“ aufgeführte DATEI
angewandt (mit „--files - --“ auf jede Datei, die in einer Zeile der
Standardeingabe steht). Jede Datei wird ganz oder gar nicht geändert, wie
oben; eine Datei, die fehlschlägt, hält die anderen nicht auf. Es folgt eine
Zeile mit der Zusammenfassung: „N changed, M unchanged, K failed“.

Mit DATEI „-“ wird das Dokument von der Standardeingabe gelesen und das
Ergebnis auf die Standardausgabe geschrieben; auf den Datenträger wird nichts
geschrieben.

Eine Datei wird geändert, wenn sich ihre Bytes ändern: einen Wert zu setzen,
den sie schon hat, schreibt nichts und lässt die Datei, wie sie war,
Zeitstempel eingeschlossen. --dry-run tut alles außer dem Schreiben. --diff
gibt den Unified Diff der Zeilen aus, die das Schreiben ändert (nichts, wenn
sich nichts ändert). --json gibt das Ergebnis als ein JSON-Objekt statt als
Text aus (siehe „JSON“ unten); mit --diff enthält es den Diff.

ABSCHNITT.SCHLÜSSEL bezeichnet ein Feld wie bei „tacconf get“: ein Schlüssel,
den die Kataloge nicht beschreiben, wird abgelehnt. Ein True/False-Feld nimmt
genau True oder False an (als 1 oder 0 geschrieben). Textwerte dürfen alles
außer Zeilenumbrüchen enthalten. Werte werden in UTF-8 angegeben und in der
Kodierung des Dokuments gespeichert; ein Zeichen, das diese Kodierung nicht
fassen kann (in windows-1252: alles außerhalb ihrer 256 Zeichen), wird
abgelehnt.

Ersetzungseinträge, im Ersetzungsabschnitt:
  ABSCHNITT.rN VON,NACH  setzt Eintrag N (ein Komma in VON als \044
                         geschrieben); mit N eins nach dem letzten Eintrag
                         wird ein Eintrag angehängt
  ABSCHNITT.rN &quot;&quot;        löscht Eintrag N; die späteren Einträge rücken auf
  ABSCHNITT.rN.from TEXT, ABSCHNITT.rN.to TEXT
                         setzt einen Text eines vorhandenen Eintrags (Kommas,
                         wie sie sind)
Die Liste fasst höchstens 13 Einträge (r0 bis r&lt;; r10, r11 und r12 heißen r:,
r; und r&lt;). Nach einer Änderung wird die ganze Liste mit dem leeren Schlüssel,
der sie beendet, zurückgeschrieben, so wie der Editor sie schreibt.

JSON (--json): {&quot;format&quot;: 1, &quot;file&quot;: DATEI, &quot;changed&quot;: true oder false,
&quot;created&quot;: true oder false, &quot;dry_run&quot;: true oder false, &quot;settings&quot;: [...]}
und, mit --diff, &quot;diff&quot;: der Text des Diffs; eine Datei, die fehlschlug, hat
&quot;failed&quot;: true und kein &quot;changed&quot; (der Grund geht in den Fehlerkanal). Jeder
Eintrag von &quot;settings&quot; ist {&quot;key&quot;: ABSCHNITT.SCHLÜSSEL wie angegeben,
&quot;before&quot;: TEXT, &quot;after&quot;: TEXT}, der Wert, wie get ihn vorher und nachher
ausgibt, oder null für einen Eintrag, den es nicht gibt. Mit --files:
{&quot;format&quot;: 1, &quot;files&quot;: [ein Objekt je Datei, wie oben], &quot;changed&quot;: N,
&quot;unchanged&quot;: M, &quot;failed&quot;: K}.

Optionen:
  --files DATEI... --
                       jede DATEI ändern (- : die auf der Standardeingabe
                       genannten Dateien)
  --dry-run            nichts ändern: nur lesen, bearbeiten und berichten
  --diff               den Diff der Zeilen ausgeben, die das Schreiben ändert
  --json               das Ergebnis als JSON ausgeben
  --create             DATEI anlegen, wenn es sie nicht gibt (ohne diese
                       Option ist eine fehlende DATEI ein Fehler); das neue
                       Dokument enthält nur die gesetzten Schlüssel, mit dem
                       Modus aus --mode oder 0666 ohne die umask
  --mode MODUS         die Zugriffsrechte, oktal, einer Datei, die --create
                       anlegt
  --catalogues ORDNER  Sections.txt und Fields.txt aus ORDNER lesen, statt
                       sie zu suchen (siehe tacconf --help)
  --encoding NAME      das Dokument als utf-8 oder windows-1252 lesen statt in
                       der Kodierung, die seine Bytes zeigen (siehe
                       „tacconf --help“)
  --wait SEKUNDEN      bis zu SEKUNDEN (Vorgabe 5) auf eine Sperre warten, die
                       ein anderes Programm auf einem Dokument hält, dann mit
                       dem Namen dieses Programms fehlschlagen
  --recover            wenn ein früheres Speichern eines Dokuments nicht
                       beendet wurde (es wurde beim Schreiben der Datei an Ort
                       und Stelle abgebrochen), zuerst den vollständigen
                       Inhalt wiederherstellen, den dieses Speichern in seiner
                       Kopie aufbewahrt hat, dann die Paare anwenden (es sind
                       keine nötig); ohne diese Option lehnt set eine solche
                       Datei ab
  --help               diesen Text zeigen

Rückgabewert: 0 erledigt; 2 Aufruffehler, abgelehnter Wert, eine Datei, die
nicht gelesen oder geschrieben werden konnte, oder eine Sperre, die nicht
rechtzeitig freigegeben wurde (mit --files: in einer der Dateien). Ein Fehler
sagt, in welchem Zustand die Datei ist: „es wurde nichts geschrieben“, „der
neue Inhalt ist gespeichert, aber ...“ oder dass die Datei unvollständig ist
und wo der vollständige neue Inhalt steht.
</translation>
    </message>
    <message>
        <source>--mode needs permission bits in octal, such as 0640</source>
        <translation>--mode braucht Zugriffsrechte in Oktalschreibweise, etwa 0640</translation>
    </message>
    <message>
        <source>--mode takes permission bits in octal from 0 to 0777, not &quot;%1&quot;</source>
        <translation>--mode nimmt Zugriffsrechte in Oktalschreibweise von 0 bis 0777 an, nicht „%1“</translation>
    </message>
    <message>
        <source>%1 (--create makes it)</source>
        <translation>%1 (--create legt sie an)</translation>
    </message>
    <message>
        <source>%1 is not taken with -: the document goes to standard output</source>
        <translation>%1 wird mit - nicht angenommen: das Dokument geht auf die Standardausgabe</translation>
    </message>
    <message>
        <source>set: - found no standard input to read the document from</source>
        <translation>set: - fand keine Standardeingabe, aus der das Dokument zu lesen wäre</translation>
    </message>
    <message>
        <source>set: standard input could not be read</source>
        <translation>set: die Standardeingabe konnte nicht gelesen werden</translation>
    </message>
    <message>
        <source>Usage: tacconf compare [--all] [--json | --csv] FILE FILE...

Shows the catalogued settings of the documents side by side, as the editor
shows them: a row per setting (SECTION.KEY, in catalogue order), a column per
document. By default only the rows whose values differ; with --all, every row.
Besides the fields, each ordered section has a row SECTION.Order (its fields
in display order, as a comma-separated list), and the replacement list gives
rows SECTION.rN.from and SECTION.rN.to up to the longest list; an entry a
document does not have is empty in the text and CSV outputs and null in JSON.

Text output: a header line &quot;SETTING&quot;, then each FILE; then a line per row;
columns separated by tabs, with tab, CR, LF and backslash in values printed
as \t, \r, \n and \\ (as dump prints them).
With --csv: the same table as CSV (RFC 4180: every field quoted, quotes
doubled), for a spreadsheet.
With --json: {&quot;format&quot;: 1, &quot;files&quot;: [FILE, ...], &quot;settings&quot;: [{&quot;key&quot;:
SECTION.KEY, &quot;values&quot;: [VALUE or null, ...], &quot;differs&quot;: true or false}]},
booleans as JSON true and false.

Options:
  --all             show every setting, not only those that differ
  --csv             print CSV
  --json            print JSON
  --catalogues DIR  read Sections.txt and Fields.txt from DIR instead of
                    searching for them (see tacconf --help)
  --encoding NAME   read the documents as utf-8 or windows-1252 instead of the
                    encoding their bytes show (see &quot;tacconf --help&quot;)
  --help            show this text

Exit status: 0 the documents hold the same settings; 1 some differ; 2 usage
error or a file that could not be read (nothing is printed then).
</source>
        <translation>Aufruf: tacconf compare [--all] [--json | --csv] DATEI DATEI...

Zeigt die Einstellungen des Katalogs in den Dokumenten nebeneinander, so wie
der Editor sie zeigt: eine Zeile je Einstellung (ABSCHNITT.SCHLÜSSEL, in
Katalogreihenfolge), eine Spalte je Dokument. Vorgabe sind nur die Zeilen,
deren Werte sich unterscheiden; mit --all jede Zeile. Neben den Feldern hat
jeder geordnete Abschnitt eine Zeile ABSCHNITT.Order (seine Felder in
Anzeigereihenfolge, als kommagetrennte Liste), und die Ersetzungsliste ergibt
Zeilen ABSCHNITT.rN.from und ABSCHNITT.rN.to bis zur längsten Liste; ein
Eintrag, den ein Dokument nicht hat, ist in der Text- und CSV-Ausgabe leer und
in JSON null.

Textausgabe: eine Kopfzeile „SETTING“, dann jede DATEI; dann eine Zeile je
Einstellung; Spalten durch Tabulatoren getrennt, wobei Tabulator, CR, LF und
Backslash in Werten als \t, \r, \n und \\ ausgegeben werden (wie bei dump).
Mit --csv: dieselbe Tabelle als CSV (RFC 4180: jedes Feld in
Anführungszeichen, Anführungszeichen verdoppelt), für eine Tabellenkalkulation.
Mit --json: {&quot;format&quot;: 1, &quot;files&quot;: [DATEI, ...], &quot;settings&quot;: [{&quot;key&quot;:
ABSCHNITT.SCHLÜSSEL, &quot;values&quot;: [WERT oder null, ...], &quot;differs&quot;: true oder
false}]}, Wahrheitswerte als JSON true und false.

Optionen:
  --all                jede Einstellung zeigen, nicht nur die abweichenden
  --csv                CSV ausgeben
  --json               JSON ausgeben
  --catalogues ORDNER  Sections.txt und Fields.txt aus ORDNER lesen, statt
                       sie zu suchen (siehe tacconf --help)
  --encoding NAME      die Dokumente als utf-8 oder windows-1252 lesen statt
                       in der Kodierung, die ihre Bytes zeigen (siehe
                       „tacconf --help“)
  --help               diesen Text zeigen

Rückgabewert: 0 die Dokumente haben dieselben Einstellungen; 1 einige weichen
ab; 2 Aufruffehler oder eine Datei, die nicht gelesen werden konnte (dann wird
nichts ausgegeben).
</translation>
    </message>
    <message>
        <source>--json and --csv exclude each other</source>
        <translation>--json und --csv schließen einander aus</translation>
    </message>
    <message>
        <source>standard input (-) can be read once only</source>
        <translation>die Standardeingabe (-) kann nur einmal gelesen werden</translation>
    </message>
    <message>
        <source>Usage: tacconf dump FILE [--json]

Prints the document FILE as the editor shows it: every section of the
catalogue in catalogue order, its fields in display order (ordered fields by
the document&apos;s Order list), and the replacement entries.

Text output, one line per item, columns separated by tabs; in labels and
values a tab, CR, LF and backslash print as \t, \r, \n and \\, so every
line splits at its tabs unambiguously:
  [NAME]  KIND  ORDERED  LABEL        a section: its name in the document, its
                                      kind, Y when it has an Order list, label
  KEY  TYPE  POSITION  LABEL  VALUE   a field; POSITION is its place in the
                                      Order list, or - for unordered fields
  rN  RFS  -  FROM  TO                a replacement entry
The last column runs to the end of the line.

With --json, prints one object: {&quot;format&quot;, &quot;file&quot;, &quot;sections&quot;: [{&quot;name&quot;,
&quot;label&quot;, &quot;kind&quot;, &quot;ordered&quot;, &quot;fields&quot;: [{&quot;key&quot;, &quot;label&quot;, &quot;type&quot;, &quot;order&quot;,
&quot;value&quot;}]}]}; the replacement section also has &quot;replacements&quot;: [{&quot;key&quot;,
&quot;from&quot;, &quot;to&quot;}]. &quot;format&quot; is 1 (a change that is not a pure addition raises
it). &quot;order&quot; is the field&apos;s place in the Order list, or null for a field
that has none. The value of a True/False field (type B) is the JSON true or
false.

Labels and values print in UTF-8, decoded from the encoding of the catalogue
file or the document that holds them; keys and section names as they are
stored (in JSON, a byte that is not UTF-8 shows as U+FFFD).

Options:
  --json            print JSON
  --catalogues DIR  read Sections.txt and Fields.txt from DIR instead of
                    searching for them (see tacconf --help)
  --encoding NAME   read the document as utf-8 or windows-1252 instead of the
                    encoding its bytes show (see &quot;tacconf --help&quot;)
  --help            show this text

FILE &quot;-&quot; reads the document from standard input.

Exit status: 0 done; 2 usage error or unreadable file.
</source>
        <translation>Aufruf: tacconf dump DATEI [--json]

Gibt das Dokument DATEI so aus, wie der Editor es zeigt: jeden Abschnitt des
Katalogs in Katalogreihenfolge, seine Felder in Anzeigereihenfolge (geordnete
Felder nach der Order-Liste des Dokuments) und die Ersetzungseinträge.

Textausgabe, eine Zeile je Eintrag, Spalten durch Tabulatoren getrennt; in
Beschriftungen und Werten werden Tabulator, CR, LF und Backslash als \t, \r,
\n und \\ ausgegeben, sodass sich jede Zeile eindeutig an ihren Tabulatoren
trennen lässt:
  [NAME]  KIND  ORDERED  LABEL        ein Abschnitt: sein Name im Dokument,
                                      seine Art, Y wenn er eine Order-Liste
                                      hat, Beschriftung
  KEY  TYPE  POSITION  LABEL  VALUE   ein Feld; POSITION ist sein Platz in
                                      der Order-Liste, oder - bei
                                      ungeordneten Feldern
  rN  RFS  -  FROM  TO                ein Ersetzungseintrag
Die letzte Spalte reicht bis zum Zeilenende.

Mit --json wird ein Objekt ausgegeben: {&quot;format&quot;, &quot;file&quot;, &quot;sections&quot;:
[{&quot;name&quot;, &quot;label&quot;, &quot;kind&quot;, &quot;ordered&quot;, &quot;fields&quot;: [{&quot;key&quot;, &quot;label&quot;, &quot;type&quot;,
&quot;order&quot;, &quot;value&quot;}]}]}; der Ersetzungsabschnitt hat außerdem &quot;replacements&quot;:
[{&quot;key&quot;, &quot;from&quot;, &quot;to&quot;}]. &quot;format&quot; ist 1 (eine Änderung, die nicht nur etwas
hinzufügt, erhöht es). &quot;order&quot; ist der Platz des Felds in der Order-Liste,
oder null für ein Feld, das keinen hat. Der Wert eines True/False-Felds (Typ
B) ist das JSON true oder false.

Beschriftungen und Werte werden in UTF-8 ausgegeben, dekodiert aus der
Kodierung der Katalogdatei oder des Dokuments, das sie enthält; Schlüssel und
Abschnittsnamen so, wie sie gespeichert sind (in JSON erscheint ein Byte, das
kein UTF-8 ist, als U+FFFD).

Optionen:
  --json               JSON ausgeben
  --catalogues ORDNER  Sections.txt und Fields.txt aus ORDNER lesen, statt
                       sie zu suchen (siehe tacconf --help)
  --encoding NAME      das Dokument als utf-8 oder windows-1252 lesen statt in
                       der Kodierung, die seine Bytes zeigen (siehe
                       „tacconf --help“)
  --help               diesen Text zeigen

DATEI „-“ liest das Dokument von der Standardeingabe.

Rückgabewert: 0 erledigt; 2 Aufruffehler oder unlesbare Datei.
</translation>
    </message>
    <message>
        <source>Usage: tacconf get [--json] FILE SECTION.KEY...
       tacconf get [--json] FILE --all

Prints values of the document FILE as the editor shows them, one per line, in
UTF-8: booleans as True or False, a key the document lacks as the editor&apos;s
default (False, or empty text).

SECTION is a section&apos;s name in the document and KEY a field&apos;s key, as the
catalogues spell them (case does not matter). The replacement entries are
SECTION.r0 to SECTION.r&lt; in the replacement section: the whole entry prints as
FROM,TO with each comma of FROM written as \044 (the form set takes), and
SECTION.rN.from or SECTION.rN.to print one text as it is.

With --all, prints every value as SECTION.KEY=VALUE, in display order; each
replacement entry gives two lines, SECTION.rN.from=FROM and SECTION.rN.to=TO.
Everything after the first &quot;=&quot; is the value.

With --json, prints one object: {&quot;format&quot;: 1, &quot;file&quot;: FILE, &quot;values&quot;:
[{&quot;key&quot;: SECTION.KEY, &quot;value&quot;: VALUE}, ...]}, in the order asked (with --all,
the keys of the text output); the value of a True/False field is the JSON
true or false, every other value a string.

FILE &quot;-&quot; reads the document from standard input.

Options:
  --all             print every value
  --json            print JSON
  --catalogues DIR  read Sections.txt and Fields.txt from DIR instead of
                    searching for them (see tacconf --help)
  --encoding NAME   read the document as utf-8 or windows-1252 instead of the
                    encoding its bytes show (see &quot;tacconf --help&quot;)
  --help            show this text

Exit status: 0 done; 2 usage error, unknown key, missing entry or unreadable
file.
</source>
        <translation>Aufruf: tacconf get [--json] DATEI ABSCHNITT.SCHLÜSSEL...
        tacconf get [--json] DATEI --all

Gibt Werte des Dokuments DATEI so aus, wie der Editor sie zeigt, einen je
Zeile, in UTF-8: Wahrheitswerte als True oder False, einen Schlüssel, der dem
Dokument fehlt, als Vorgabe des Editors (False oder leerer Text).

ABSCHNITT ist der Name eines Abschnitts im Dokument und SCHLÜSSEL der
Schlüssel eines Felds, wie die Kataloge sie schreiben (Groß- und
Kleinschreibung spielt keine Rolle). Die Ersetzungseinträge sind
ABSCHNITT.r0 bis ABSCHNITT.r&lt; im Ersetzungsabschnitt: der ganze Eintrag wird
als VON,NACH ausgegeben, jedes Komma in VON als \044 geschrieben (die Form,
die set annimmt), und ABSCHNITT.rN.from oder ABSCHNITT.rN.to geben einen Text
so aus, wie er ist.

Mit --all wird jeder Wert als ABSCHNITT.SCHLÜSSEL=WERT ausgegeben, in
Anzeigereihenfolge; jeder Ersetzungseintrag ergibt zwei Zeilen,
ABSCHNITT.rN.from=VON und ABSCHNITT.rN.to=NACH. Alles nach dem ersten „=“
ist der Wert.

Mit --json wird ein Objekt ausgegeben: {&quot;format&quot;: 1, &quot;file&quot;: DATEI, &quot;values&quot;:
[{&quot;key&quot;: ABSCHNITT.SCHLÜSSEL, &quot;value&quot;: WERT}, ...]}, in der erfragten
Reihenfolge (mit --all die Schlüssel der Textausgabe); der Wert eines
True/False-Felds ist das JSON true oder false, jeder andere Wert eine
Zeichenkette.

DATEI „-“ liest das Dokument von der Standardeingabe.

Optionen:
  --all                jeden Wert ausgeben
  --json               JSON ausgeben
  --catalogues ORDNER  Sections.txt und Fields.txt aus ORDNER lesen, statt
                       sie zu suchen (siehe tacconf --help)
  --encoding NAME      das Dokument als utf-8 oder windows-1252 lesen statt in
                       der Kodierung, die seine Bytes zeigen (siehe
                       „tacconf --help“)
  --help               diesen Text zeigen

Rückgabewert: 0 erledigt; 2 Aufruffehler, unbekannter Schlüssel, fehlender
Eintrag oder unlesbare Datei.
</translation>
    </message>
    <message>
        <source>standard input</source>
        <translation>Standardeingabe</translation>
    </message>
    <message>
        <source>there is none to read the document from</source>
        <translation>es gibt keine, aus der das Dokument zu lesen wäre</translation>
    </message>
    <message>
        <source>it could not be read</source>
        <translation>sie konnte nicht gelesen werden</translation>
    </message>
    <message>
        <source>tacconf: warning: %1 (the catalogue folder chosen in the editor is not searched)</source>
        <translation>tacconf: Warnung: %1 (der im Editor gewählte Katalogordner wird nicht durchsucht)</translation>
    </message>
    <message>
        <source>Usage: tacconf check [--json] [FILE]...

Checks the catalogues, then each document FILE against them, and prints one
line per problem: PATH:LINE: MESSAGE (PATH: MESSAGE when it concerns the whole
file). A summary goes to the error stream.

In Sections.txt and Fields.txt: lines the editor will not load (past 64
sections or 128 fields), wrong column counts, section ids out of file order,
order flags other than one Y or N, repeated section labels or names, a second
replacement section, keys a document cannot hold or that hold blanks, fields
of sections that do not exist, repeated keys, unknown types.

In a document: sections and keys the catalogues do not describe, repeated
sections and keys, lines no reader takes, values the editor shows differently
(booleans other than 1 and 0, quotes that are not part of a value, a NUL byte
that ends a value early), Order lists that name unknown keys or miss ordered
ones, replacement entries that are never read (after the end of the list,
after a gap, past 13 entries), and texts that mix UTF-8 with bytes that are
not UTF-8 (some of them cannot show right; one finding, at the first line
that does not). Beside a document: the copy of a save that did not finish
(the file may be incomplete; tacconf set --recover restores it) and the
temporary files of saves that were stopped. A document lists at most 1000
problems of each kind; a line at its end says how many more there were (they
count in the summary and in &quot;problems&quot;).

With --json, prints one object instead: {&quot;format&quot;: 1, &quot;findings&quot;: [{&quot;file&quot;:
PATH, &quot;line&quot;: LINE or null, &quot;message&quot;: MESSAGE}, ...], &quot;problems&quot;: N,
&quot;documents&quot;: M, &quot;unreadable&quot;: [PATH, ...]} (the reasons of the unreadable
files go to the error stream, as without --json).

FILE &quot;-&quot; reads a document from standard input.

Options:
  --json            print JSON
  --catalogues DIR  check the catalogues in DIR instead of searching for them
  --encoding NAME   check the documents as read in utf-8 or windows-1252
                    instead of the encoding their bytes show
  --help            show this text

Exit status: 0 no problems; 1 problems found; 2 usage error or unreadable file
(the other files are still checked).
</source>
        <translation>Aufruf: tacconf check [--json] [DATEI]...

Prüft die Kataloge, dann jedes Dokument DATEI gegen sie, und gibt je Problem
eine Zeile aus: PFAD:ZEILE: MELDUNG (PFAD: MELDUNG, wenn es die ganze Datei
betrifft). Eine Zusammenfassung geht in den Fehlerkanal.

In Sections.txt und Fields.txt: Zeilen, die der Editor nicht lädt (über 64
Abschnitte oder 128 Felder hinaus), falsche Spaltenzahlen, Abschnittsnummern
außerhalb der Dateireihenfolge, Reihenfolge-Kennzeichen außer einem Y oder N,
wiederholte Abschnittsbeschriftungen oder -namen, ein zweiter
Ersetzungsabschnitt, Schlüssel, die ein Dokument nicht aufnehmen kann oder die
Leerzeichen enthalten, Felder nicht vorhandener Abschnitte, wiederholte
Schlüssel, unbekannte Typen.

In einem Dokument: Abschnitte und Schlüssel, die die Kataloge nicht
beschreiben, wiederholte Abschnitte und Schlüssel, Zeilen, die kein Leser
übernimmt, Werte, die der Editor anders zeigt (Wahrheitswerte außer 1 und 0,
Anführungszeichen, die nicht zum Wert gehören, ein NUL-Byte, das einen Wert
vorzeitig beendet), Order-Listen, die unbekannte Schlüssel nennen oder
geordnete auslassen, Ersetzungseinträge, die nie gelesen werden (nach dem Ende
der Liste, nach einer Lücke, jenseits von 13 Einträgen), und Texte, die UTF-8
mit Bytes mischen, die kein UTF-8 sind (manche davon können nicht richtig
erscheinen; ein Befund, an der ersten Zeile, die falsch erscheint). Neben einem
Dokument: die Kopie eines nicht beendeten Speicherns (die Datei ist
möglicherweise unvollständig; tacconf set --recover stellt sie wieder her) und
die temporären Dateien abgebrochener Speichervorgänge. Ein Dokument führt höchstens
1000 Probleme jeder Art auf; eine Zeile an seinem Ende sagt, wie viele es
mehr gab (sie zählen in der Zusammenfassung und in &quot;problems&quot;).

Mit --json wird stattdessen ein Objekt ausgegeben: {&quot;format&quot;: 1, &quot;findings&quot;:
[{&quot;file&quot;: PFAD, &quot;line&quot;: ZEILE oder null, &quot;message&quot;: MELDUNG}, ...],
&quot;problems&quot;: N, &quot;documents&quot;: M, &quot;unreadable&quot;: [PFAD, ...]} (die Gründe der
unlesbaren Dateien gehen in den Fehlerkanal, wie ohne --json).

DATEI „-“ liest ein Dokument von der Standardeingabe.

Optionen:
  --json               JSON ausgeben
  --catalogues ORDNER  die Kataloge in ORDNER prüfen, statt sie zu suchen
  --encoding NAME      die Dokumente so prüfen, wie sie in utf-8 oder
                       windows-1252 gelesen werden, statt in der Kodierung,
                       die ihre Bytes zeigen
  --help               diesen Text zeigen

Rückgabewert: 0 keine Probleme; 1 Probleme gefunden; 2 Aufruffehler oder
unlesbare Datei (die anderen Dateien werden trotzdem geprüft).
</translation>
    </message>
    <message>
        <source>the program&apos;s path names no folder (%1)</source>
        <translation>der Pfad des Programms nennt keinen Ordner (%1)</translation>
    </message>
    <message>
        <source>Usage: tacconf [--catalogues DIR] [--encoding NAME] COMMAND [ARGUMENTS]
       tacconf --version

Reads, changes and checks .tac configuration documents with the catalogues of
TAV Configuration Manager (Sections.txt and Fields.txt), read from the folder
given with --catalogues DIR; without it, from the first of these that holds
both: the catalogue folder chosen in the editor (Catalogues/Folder in
~/.config/Wrn.Applications/tavmanager.conf), this program&apos;s folder,
$XDG_CONFIG_HOME/tavmanager, each $XDG_CONFIG_DIRS folder + /tavmanager and the
installation&apos;s share/tavmanager. On Windows: the folder chosen in the editor
(in the registry, HKEY_CURRENT_USER\Software\Wrn.Applications\tavmanager,
Catalogues, Folder), this program&apos;s folder, %APPDATA%\tavmanager and
%PROGRAMDATA%\tavmanager.

Texts are UTF-8 on the command line and in the output. A document&apos;s encoding
is decided from its bytes: UTF-8 when it starts with a UTF-8 byte-order mark
or when all its non-ASCII bytes form valid UTF-8, else windows-1252 (the
Windows code page the documents&apos; own application reads them in). The same
rule holds for each catalogue file. --encoding utf-8 or --encoding
windows-1252 reads the documents in that encoding instead.

Commands:
  get FILE SECTION.KEY...    print values as the editor shows them
  get FILE --all             print every value as SECTION.KEY=VALUE
  set FILE SECTION.KEY VALUE...
                             change values, writing only the keys named
  set --files FILE... -- SECTION.KEY VALUE...
                             the same change in each file, with a summary
  dump FILE [--json]         print the document as the editor shows it
  check [FILE]...            report where catalogues and documents disagree
  diff FILE                  show the lines a save in the editor would change
  compare FILE FILE...       show the settings of several documents side by
                             side, those that differ
  version                    print &quot;tacconf&quot; and the version, as --version does

&quot;tacconf COMMAND --help&quot; describes a command.

Exit status: 0 done; 1 problems found (check), changes shown (diff) or
settings that differ (compare);
2 usage error or a file that could not be read or written.
</source>
        <translation>Aufruf: tacconf [--catalogues ORDNER] [--encoding NAME] BEFEHL [ARGUMENTE]
        tacconf --version

Liest, ändert und prüft .tac-Konfigurationsdokumente mit den Katalogen des
TAV Configuration Manager (Sections.txt und Fields.txt), gelesen aus dem mit
--catalogues ORDNER angegebenen Ordner; ohne diese Option aus dem ersten
dieser Ordner, der beide enthält: dem im Editor gewählten Katalogordner
(Catalogues/Folder in ~/.config/Wrn.Applications/tavmanager.conf), dem Ordner
dieses Programms, $XDG_CONFIG_HOME/tavmanager, jedem $XDG_CONFIG_DIRS-Ordner +
/tavmanager und share/tavmanager der Installation. Unter Windows: dem im
Editor gewählten Ordner (in der Registrierung,
HKEY_CURRENT_USER\Software\Wrn.Applications\tavmanager, Catalogues, Folder),
dem Ordner dieses Programms, %APPDATA%\tavmanager und %PROGRAMDATA%\tavmanager.

Texte sind auf der Befehlszeile und in der Ausgabe UTF-8. Die Kodierung eines
Dokuments wird aus seinen Bytes bestimmt: UTF-8, wenn es mit einer
UTF-8-Bytereihenfolgemarke beginnt oder wenn alle seine Nicht-ASCII-Bytes
gültiges UTF-8 bilden, sonst windows-1252 (die Windows-Codepage, in der die
eigene Anwendung der Dokumente sie liest). Dieselbe Regel gilt für jede
Katalogdatei. --encoding utf-8 oder --encoding windows-1252 liest die
Dokumente stattdessen in dieser Kodierung.

Befehle:
  get DATEI ABSCHNITT.SCHLÜSSEL...
                             Werte so ausgeben, wie der Editor sie zeigt
  get DATEI --all            jeden Wert als ABSCHNITT.SCHLÜSSEL=WERT ausgeben
  set DATEI ABSCHNITT.SCHLÜSSEL WERT...
                             Werte ändern, nur die genannten Schlüssel werden
                             geschrieben
  set --files DATEI... -- ABSCHNITT.SCHLÜSSEL WERT...
                             dieselbe Änderung in jeder Datei, mit
                             Zusammenfassung
  dump DATEI [--json]        das Dokument so ausgeben, wie der Editor es zeigt
  check [DATEI]...           melden, wo Kataloge und Dokumente nicht
                             übereinstimmen
  diff DATEI                 die Zeilen zeigen, die ein Speichern im Editor
                             ändern würde
  compare DATEI DATEI...     die Einstellungen mehrerer Dokumente
                             nebeneinander zeigen, die abweichenden
  version                    „tacconf“ und die Version ausgeben, wie
                             --version

„tacconf BEFEHL --help“ beschreibt einen Befehl.

Rückgabewert: 0 erledigt; 1 Probleme gefunden (check), Änderungen gezeigt
(diff) oder abweichende Einstellungen (compare); 2 Aufruffehler oder eine
Datei, die nicht gelesen oder geschrieben werden konnte.
</translation>
    </message>
    <message>
        <source>tacconf: warning: the standard streams cannot be switched to binary; line ends may change on the way out</source>
        <translation>tacconf: Warnung: die Standardkanäle lassen sich nicht auf binär umstellen; Zeilenenden können sich bei der Ausgabe ändern</translation>
    </message>
</context>
<context>
    <name>tav::AboutDialog</name>
    <message>
        <source>About</source>
        <translation>Über</translation>
    </message>
    <message>
        <source>Version %1</source>
        <translation>Version %1</translation>
    </message>
    <message>
        <source>Made by the TAV Configuration Manager developers.</source>
        <translation>Von den Entwicklern des TAV Configuration Manager.</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
</context>
<context>
    <name>tav::ConfigTree</name>
    <message>
        <source>Revert to saved value</source>
        <translation>Auf gespeicherten Wert zurücksetzen</translation>
    </message>
    <message>
        <source>Move up</source>
        <translation>Nach oben</translation>
    </message>
    <message>
        <source>Move down</source>
        <translation>Nach unten</translation>
    </message>
    <message>
        <source>Delete</source>
        <translation>Löschen</translation>
    </message>
    <message>
        <source>Settings</source>
        <translation>Einstellungen</translation>
    </message>
    <message>
        <source>The sections and settings of the document</source>
        <translation>Die Abschnitte und Einstellungen des Dokuments</translation>
    </message>
</context>
<context>
    <name>tav::ConfigTreeModel</name>
    <message>
        <source>Setting</source>
        <translation>Einstellung</translation>
    </message>
</context>
<context>
    <name>tav::DiskNotice</name>
    <message>
        <source>&amp;Reload</source>
        <translation>&amp;Neu laden</translation>
    </message>
    <message>
        <source>&amp;Keep mine</source>
        <translation>&amp;Meine behalten</translation>
    </message>
    <message>
        <source>%1 was removed from the disk. Save writes it again.</source>
        <translation>%1 wurde vom Datenträger entfernt. Speichern schreibt es erneut.</translation>
    </message>
    <message>
        <source>%1 was changed on the disk by someone else.</source>
        <translation>%1 wurde auf dem Datenträger von jemand anderem geändert.</translation>
    </message>
</context>
<context>
    <name>tav::EditorPanel</name>
    <message>
        <source>Replace</source>
        <translation>Ersetze</translation>
    </message>
    <message>
        <source>By</source>
        <translation>Durch</translation>
    </message>
    <message>
        <source>Add</source>
        <translation>Hinzufügen</translation>
    </message>
    <message>
        <source>Delete</source>
        <translation>Löschen</translation>
    </message>
    <message>
        <source>The value of the selected setting</source>
        <translation>Der Wert der gewählten Einstellung</translation>
    </message>
    <message>
        <source>The value of the selected setting: True or False</source>
        <translation>Der Wert der gewählten Einstellung: True oder False</translation>
    </message>
    <message>
        <source>The text to be replaced</source>
        <translation>Der zu ersetzende Text</translation>
    </message>
    <message>
        <source>The text it is replaced by</source>
        <translation>Der Text, durch den er ersetzt wird</translation>
    </message>
    <message>
        <source>Adds the string replacement to the list</source>
        <translation>Fügt die Zeichenkettenersetzung der Liste hinzu</translation>
    </message>
    <message>
        <source>Deletes the selected string replacement</source>
        <translation>Löscht die gewählte Zeichenkettenersetzung</translation>
    </message>
</context>
<context>
    <name>tav::FileCommands</name>
    <message>
        <source>Opening %1…</source>
        <translation>%1 wird geöffnet…</translation>
    </message>
    <message>
        <source>Not everything in this file could be loaded.</source>
        <translation>Nicht alles in dieser Datei konnte geladen werden.</translation>
    </message>
    <message>
        <source>The document could not be opened.</source>
        <translation>Das Dokument konnte nicht geöffnet werden.</translation>
    </message>
    <message>
        <source>Restoring %1…</source>
        <translation>%1 wird wiederhergestellt…</translation>
    </message>
    <message>
        <source>The complete content could not be restored; nothing was opened.</source>
        <translation>Der vollständige Inhalt konnte nicht wiederhergestellt werden; es wurde nichts geöffnet.</translation>
    </message>
    <message>
        <source>The copy could not be removed; nothing was opened.</source>
        <translation>Die Kopie konnte nicht entfernt werden; es wurde nichts geöffnet.</translation>
    </message>
    <message>
        <source>Saving %1…</source>
        <translation>%1 wird gespeichert…</translation>
    </message>
    <message>
        <source>The document could not be saved.</source>
        <translation>Das Dokument konnte nicht gespeichert werden.</translation>
    </message>
    <message>
        <source>The document could not be read again.</source>
        <translation>Das Dokument konnte nicht erneut gelesen werden.</translation>
    </message>
    <message>
        <source>%1 was changed on the disk, also where you made changes; it was not saved.</source>
        <translation>%1 wurde auf dem Datenträger geändert, auch dort, wo Sie Änderungen vorgenommen haben; es wurde nicht gespeichert.</translation>
    </message>
    <message>
        <source>The document was saved but could not be read back.</source>
        <translation>Das Dokument wurde gespeichert, konnte aber nicht zurückgelesen werden.</translation>
    </message>
</context>
<context>
    <name>tav::FilterField</name>
    <message>
        <source>Find (Ctrl+F)</source>
        <translation>Suchen (Strg+F)</translation>
    </message>
    <message>
        <source>Find</source>
        <translation>Suchen</translation>
    </message>
    <message>
        <source>Shows only the settings whose label or value holds the text</source>
        <translation>Zeigt nur die Einstellungen, deren Beschriftung oder Wert den Text enthält</translation>
    </message>
    <message>
        <source>Clear</source>
        <translation>Leeren</translation>
    </message>
    <message>
        <source>Empties the Find box and shows every setting</source>
        <translation>Leert das Suchfeld und zeigt jede Einstellung</translation>
    </message>
</context>
<context>
    <name>tav::HelpBrowser</name>
    <message>
        <source>Page not found</source>
        <translation>Seite nicht gefunden</translation>
    </message>
    <message>
        <source>The help file holds no page %1.</source>
        <translation>Die Hilfedatei enthält keine Seite %1.</translation>
    </message>
</context>
<context>
    <name>tav::HelpViewer</name>
    <message>
        <source>TAV Configuration Manager Help</source>
        <translation>TAV Configuration Manager – Hilfe</translation>
    </message>
    <message>
        <source>&amp;Back</source>
        <translation>&amp;Zurück</translation>
    </message>
    <message>
        <source>&amp;Forward</source>
        <translation>&amp;Vorwärts</translation>
    </message>
    <message>
        <source>&amp;Home</source>
        <translation>Sta&amp;rtseite</translation>
    </message>
    <message>
        <source>Type the keyword to find</source>
        <translation>Stichwort eingeben</translation>
    </message>
    <message>
        <source>Words to search for, then Enter</source>
        <translation>Suchwörter eingeben, dann Eingabetaste</translation>
    </message>
    <message>
        <source>&amp;Contents</source>
        <translation>&amp;Inhalt</translation>
    </message>
    <message>
        <source>I&amp;ndex</source>
        <translation>I&amp;ndex</translation>
    </message>
    <message>
        <source>&amp;Search</source>
        <translation>&amp;Suche</translation>
    </message>
    <message>
        <source>it holds no page to show</source>
        <translation>sie enthält keine Seite, die gezeigt werden kann</translation>
    </message>
    <message>
        <source>The help file %1 could not be shown: %2.</source>
        <translation>Die Hilfedatei %1 konnte nicht angezeigt werden: %2.</translation>
    </message>
    <message>
        <source>Help is not available</source>
        <translation>Hilfe ist nicht verfügbar</translation>
    </message>
    <message numerus="yes">
        <source>%1 (%n occurrence(s))</source>
        <translation>
            <numerusform>%1 (%n Vorkommen)</numerusform>
            <numerusform>%1 (%n Vorkommen)</numerusform>
        </translation>
    </message>
    <message>
        <source>No page holds every word.</source>
        <translation>Keine Seite enthält alle Wörter.</translation>
    </message>
    <message numerus="yes">
        <source>%n page(s) found.</source>
        <translation>
            <numerusform>%n Seite gefunden.</numerusform>
            <numerusform>%n Seiten gefunden.</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>tav::MainDialog</name>
    <message>
        <source>%1[*] - %2</source>
        <translation>%1[*] - %2</translation>
    </message>
    <message>
        <source>Saved at %1</source>
        <translation>Gespeichert um %1</translation>
    </message>
    <message>
        <source>&amp;New</source>
        <translation>&amp;Neu</translation>
    </message>
    <message>
        <source>&amp;Open</source>
        <translation>Ö&amp;ffnen</translation>
    </message>
    <message>
        <source>&amp;Save</source>
        <translation>&amp;Speichern</translation>
    </message>
    <message>
        <source>Save &amp;As...</source>
        <translation>Speichern &amp;unter...</translation>
    </message>
    <message>
        <source>&amp;Exit</source>
        <translation>&amp;Beenden</translation>
    </message>
    <message>
        <source>&amp;Undo</source>
        <translation>&amp;Rückgängig</translation>
    </message>
    <message>
        <source>&amp;Redo</source>
        <translation>&amp;Wiederholen</translation>
    </message>
    <message>
        <source>&amp;Contents	F1</source>
        <translation>&amp;Inhalt	F1</translation>
    </message>
    <message>
        <source>&amp;About TAV Configuration Manager...</source>
        <translation>Ü&amp;ber TAV Configuration Manager...</translation>
    </message>
    <message>
        <source>&amp;File</source>
        <translation>&amp;Datei</translation>
    </message>
    <message>
        <source>&amp;Edit</source>
        <translation>&amp;Bearbeiten</translation>
    </message>
    <message>
        <source>&amp;Help</source>
        <translation>&amp;Hilfe</translation>
    </message>
    <message>
        <source>Recent &amp;Files</source>
        <translation>&amp;Zuletzt geöffnet</translation>
    </message>
    <message>
        <source>The value was not changed: %1.</source>
        <translation>Der Wert wurde nicht geändert: %1.</translation>
    </message>
    <message>
        <source>Left out of the text: %1.</source>
        <translation>Aus dem Text weggelassen: %1.</translation>
    </message>
    <message>
        <source>The string replacement was not added: %1.</source>
        <translation>Die Zeichenkettenersetzung wurde nicht hinzugefügt: %1.</translation>
    </message>
    <message>
        <source>The string replacement was not changed: %1.</source>
        <translation>Die Zeichenkettenersetzung wurde nicht geändert: %1.</translation>
    </message>
    <message>
        <source>The catalogues in this folder cannot be read; the catalogues in use stay.</source>
        <translation>Die Kataloge in diesem Ordner können nicht gelesen werden; die Kataloge in Gebrauch bleiben.</translation>
    </message>
    <message>
        <source>&amp;Catalogue Folder...</source>
        <translation>&amp;Katalogordner...</translation>
    </message>
</context>
<context>
    <name>tav::MainToolBar</name>
    <message>
        <source>New</source>
        <translation>Neu</translation>
    </message>
    <message>
        <source>Open</source>
        <translation>Öffnen</translation>
    </message>
    <message>
        <source>Save</source>
        <translation>Speichern</translation>
    </message>
    <message>
        <source>Help</source>
        <translation>Hilfe</translation>
    </message>
</context>
</TS>
