<!DOCTYPE HTML PUBLIC "-//W3C//DTD HTML 4.01 Transitional//EN" "http://www.w3.org/TR/html4/loose.dtd">
<html>
<head>
<meta http-equiv="Content-Type" content="text/html; charset=windows-1252">
<title><FIELD name="Bereich">Bereich</FIELD></title>
<link rel="stylesheet" href="index.css" type="text/css">
</head>
<body>
<h1><FIELD name="Bereich">Bereich</FIELD></h1>
<ul>
<RECORD><li><FIELD name="Pflanze">Pflanze</FIELD> (<FIELD name="Gruppe">Gruppe</FIELD>): <FIELD name="Preis">Preis</FIELD></li>
</RECORD></ul>
</body>
</html>
